// unpack ARCHIVE FOLDER: runs the setup's extract operation on any archive.
// Prints "result: N" and exits 0, 1 or 2 for N = 1, 0 or -1; shows progress
// on stderr only when that is a console, so redirected output stays clean.
#include <windows.h>

#include <cstdio>

#include "extract.h"

namespace {

bool is_console(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

int exit_code(int result) { return result == 1 ? 0 : result == 0 ? 1 : 2; }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: unpack ARCHIVE FOLDER\n", stderr);
        return 2;
    }
    const bool console = is_console(GetStdHandle(STD_ERROR_HANDLE));
    quorvane::ExtractProgress progress;
    if (console) {
        progress = [](int percent) {
            std::fprintf(stderr, "\r%3d%%", percent);
            std::fflush(stderr);
            return true;
        };
    }
    quorvane::ExtractOutcome outcome = quorvane::extract_archive(argv[1], argv[2], progress);
    if (console) std::fputs("\n", stderr);
    if (outcome.cause != quorvane::ExtractCause::none) {
        std::fprintf(stderr, "unpack: %s%s%s\n", quorvane::describe(outcome.cause),
                     outcome.entry_name.empty() ? "" : ": ", outcome.entry_name.c_str());
    }
    std::printf("result: %d\n", outcome.result);
    return exit_code(outcome.result);
}
