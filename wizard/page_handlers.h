#pragma once
// The handlers of the welcome and folder pages and of the Cancel button.
#include "setup_controls.h"

namespace quorvane {

// Next (按钮1): the folder page, the version text "1.4", the default install
// folder created (one level) and written into the edit box.
void on_next_clicked(SetupControls& controls);

// "..." (按钮4): the Save-As dialog with "Quorvane" + version as its name;
// the name chosen becomes the install folder, created at once. A cancelled
// dialog changes nothing.
void on_browse_clicked(SetupControls& controls);

// Cancel (按钮2, under either caption): ends the program with exit code 0.
void on_cancel_clicked(SetupControls& controls);

}  // namespace quorvane
