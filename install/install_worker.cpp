#include "install_worker.h"

#include <vector>

#include "archive_copy.h"
#include "desktop_names.h"
#include "extract.h"
#include "install_folder.h"
#include "launcher.h"
#include "services.h"
#include "shortcut.h"
#include "unique_handle.h"
#include "version_text.h"

namespace quorvane {

namespace {

constexpr int folder_page = 1;

void show_message(SetupControls& controls, const std::string& text, UINT icon) {
    char caption[256] = {};
    GetWindowTextA(controls.window(), caption, sizeof caption);
    MessageBoxA(controls.window(), text.c_str(), caption, MB_OK | icon);
}

FailureCause folder_cause(FolderProblem problem) {
    switch (problem) {
    case FolderProblem::empty: return FailureCause::no_folder;
    case FolderProblem::not_a_full_path: return FailureCause::not_a_full_path;
    case FolderProblem::too_long: return FailureCause::folder_path_too_long;
    case FolderProblem::invalid_name:
    case FolderProblem::none: break;
    }
    return FailureCause::invalid_folder_name;
}

// The edit box's text made absolute against the current directory (the
// setup program's folder), then checked.
FolderDecision choose_install_folder(const std::string& typed, const std::string& version) {
    if (names_no_folder(typed)) return {FolderProblem::empty, {}};
    char full[1024] = {};
    DWORD length = GetFullPathNameA(typed.c_str(), sizeof full, full, nullptr);
    if (length == 0) return {FolderProblem::invalid_name, {}};
    if (length >= sizeof full) return {FolderProblem::too_long, {}};
    return decide_install_folder(std::string(full, length), version, system_lead_byte);
}

FailureCause write_failure_cause(DWORD error) {
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? FailureCause::disk_full
                                                                       : FailureCause::cannot_write;
}

void install(SetupControls& controls) {
    // The one read of the install folder: extraction, shortcut and launcher
    // all use this text, whatever is typed meanwhile.
    const std::string typed = controls.编辑框1.text();
    const std::string& version = version_text();

    controls.按钮2.set_disabled(true);
    controls.进度条1.set_position(20);

    FolderDecision decision = choose_install_folder(typed, version);
    if (decision.problem != FolderProblem::none) {
        std::string shown = names_no_folder(typed) ? std::string() : typed;
        report_install_failure(controls, {FailurePlace::install_folder, folder_cause(decision.problem), shown, ""});
        return;
    }
    const std::string& folder = decision.folder;

    // A file with the folder's name: the extraction would only say it cannot write there.
    DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        report_install_failure(controls, {FailurePlace::install_folder, FailureCause::cannot_make_folder, folder, ""});
        return;
    }

    const std::string archive = temporary_archive_path();
    if (!write_temporary_copy()) {
        FailureCause cause = write_failure_cause(GetLastError());
        report_install_failure(controls, {FailurePlace::temporary_copy, cause, archive, ""});
        return;
    }
    controls.进度条1.set_position(40);

    ExtractOutcome outcome = extract_archive(archive, folder);
    if (outcome.result != 1) {
        report_install_failure(
            controls, {FailurePlace::install_folder, failure_cause_of(outcome.cause), folder, outcome.entry_name});
        return;
    }
    controls.进度条1.set_position(70);

    // The product is in place: from here on a failure is named, not fatal.
    const std::string desktop = special_folder(SpecialFolder::desktop);
    const std::string executable = executable_path(folder, version, system_lead_byte);
    const std::string link = shortcut_file(desktop, version);
    const std::string launcher = launcher_file(desktop, version);
    std::vector<std::string> unwritten;
    {
        com_thread_scope com;  // the link object lives in this thread's apartment
        if (desktop.empty() || !create_shortcut({link, executable, product_name(version), "", folder, SW_SHOW}))
            unwritten.push_back(link);
    }
    if (desktop.empty() || !write_launcher(launcher, launcher_text(executable))) unwritten.push_back(launcher);
    if (!unwritten.empty())
        show_message(controls, desktop_failure_message(product_name(version), folder, unwritten), MB_ICONWARNING);

    controls.按钮2.set_disabled(false);
    controls.按钮2.set_caption("完成");
    controls.进度条1.set_position(100);
    controls.选择夹1.set_current_page(controls.选择夹1.current_page() + 1);
}

}  // namespace

DWORD WINAPI install_worker(void* controls) {
    install(*static_cast<SetupControls*>(controls));
    return 0;
}

void report_install_failure(SetupControls& controls, const InstallFailure& failure) {
    show_message(controls, install_failure_message(failure), MB_ICONERROR);
    // The folder page comes back last, with everything on it already set.
    controls.进度条1.set_position(0);
    controls.按钮3.set_disabled(false);
    controls.按钮2.set_disabled(false);
    controls.选择夹1.set_current_page(folder_page);
}

}  // namespace quorvane
