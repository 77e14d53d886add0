#include <windows.h>

#include "install_handler.h"
#include "program.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    quorvane::run_setup(instance, show_command, quorvane::on_install_clicked);
}
