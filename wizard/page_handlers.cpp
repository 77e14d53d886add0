#include "page_handlers.h"

#include "program.h"
#include "services.h"
#include "text.h"
#include "version_text.h"

namespace quorvane {

void on_next_clicked(SetupControls& controls) {
    controls.选择夹1.set_current_page(controls.选择夹1.current_page() + 1);
    set_version_text("1.4");
    std::string folder =
        concatenate(special_folder(SpecialFolder::application_data), "Quorvane", version_text());
    create_folder(folder);  // an existing folder is fine; the box shows the name either way
    controls.编辑框1.set_text(folder);
}

void on_browse_clicked(SetupControls& controls) {
    controls.通用对话框1.set_file_name(concatenate("Quorvane", version_text()));
    // On cancel the name would still be the bare "Quorvane1.4": a folder
    // made from it would land wherever the current directory points and
    // the edit box would get a relative path. So cancel changes nothing.
    if (!controls.通用对话框1.open()) return;
    std::string chosen = controls.通用对话框1.file_name();
    create_folder(chosen);
    controls.编辑框1.set_text(chosen);
}

void on_cancel_clicked(SetupControls&) { exit_program(0); }

}  // namespace quorvane
