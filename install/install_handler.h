#pragma once
// The Install button (按钮3): shows the progress page and starts the install
// worker on a thread of its own, without waiting for it.
#include "setup_controls.h"

namespace quorvane {

void on_install_clicked(SetupControls& controls);

}  // namespace quorvane
