// The setup's own start-up with one more at-exit routine, which records the
// current directory and that it ran, in the file named on the command line.
#include <windows.h>

#include <string>

#include "at_exit.h"
#include "program.h"

namespace {

std::string trace_path;

void leave_trace() {
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof cwd, cwd);
    std::string line = std::string("cwd=") + cwd + "\nat-exit\n";
    HANDLE file = CreateFileA(trace_path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, line.data(), DWORD(line.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int show_command) {
    trace_path = command_line;
    quorvane::at_exit_routines().add(leave_trace);
    quorvane::run_setup(instance, show_command, nullptr);
}
