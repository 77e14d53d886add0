#pragma once
// The install worker: the temporary copy, the extraction, the shortcut and
// the launcher, reporting through the setup window's controls.
#include <windows.h>

#include "install_failure_message.h"
#include "setup_controls.h"

namespace quorvane {

// The thread's routine; its parameter is the SetupControls of the window.
DWORD WINAPI install_worker(void* controls);

// The install did not happen: a message box owned by the setup window, then
// the folder page again with Install and Cancel enabled. Any thread.
void report_install_failure(SetupControls& controls, const InstallFailure& failure);

}  // namespace quorvane
