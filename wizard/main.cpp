#include <windows.h>

#include "program.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    quorvane::run_setup(instance, show_command);
}
