#include "install_handler.h"

#include <windows.h>

#include "install_worker.h"
#include "unique_handle.h"

namespace quorvane {

void on_install_clicked(SetupControls& controls) {
    // One install at a time: a second click queued before the page turned
    // would start a second worker over the same files.
    controls.按钮3.set_disabled(true);
    controls.选择夹1.set_current_page(controls.选择夹1.current_page() + 1);

    // The worker gets the controls, which live as long as the window; the
    // thread is not waited for, so its handle is not kept.
    unique_kernel_handle thread(CreateThread(nullptr, 0, install_worker, &controls, 0, nullptr));
    if (!thread) report_install_failure(controls, {FailurePlace::install_folder, FailureCause::cannot_start, "", ""});
}

}  // namespace quorvane
