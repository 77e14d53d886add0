#pragma once
// Start-up and shut-down of the setup program.
#include <windows.h>

#include "setup_controls.h"

namespace quorvane {

// The Install button's click handler, which the install subsystem provides.
using InstallHandler = void (*)(SetupControls& controls);

// Start-up: OLE for the UI thread, the program's folder as current
// directory, the at-exit routine, the setup window, the message loop; then
// the shut-down. Returns only through the process's end. A null handler
// leaves the Install button without an effect.
[[noreturn]] void run_setup(HINSTANCE instance, int show_command, InstallHandler on_install);

// Exit: the shut-down at once (at-exit routines, OLE released), then the
// process ends with the code. A running install worker ends with it.
[[noreturn]] void exit_program(int code);

// A failure the program cannot go on from: an error message, then exit code
// -1 without the at-exit routines.
[[noreturn]] void fail_program(const char* message);

}  // namespace quorvane
