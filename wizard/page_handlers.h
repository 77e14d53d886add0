#pragma once
// The handlers of the welcome and folder pages and of the Cancel button.

namespace quorvane {

// Cancel (按钮2, under either caption): ends the program with exit code 0.
void on_cancel_clicked();

}  // namespace quorvane
