#include "setup_process.h"

#include <vector>

namespace quorvane::testing {

SetupProcess::SetupProcess(const std::string& program, const std::string& arguments,
                           const std::string& working_folder) {
    std::string command = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    std::vector<char> buffer(command.begin(), command.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{sizeof startup};
    PROCESS_INFORMATION info{};
    if (CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       working_folder.empty() ? nullptr : working_folder.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
    }
}

SetupProcess::~SetupProcess() {
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) kill();
    CloseHandle(process_);
}

void SetupProcess::kill() const {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
}

namespace {
struct WindowSearch {
    DWORD process;
    const std::string* caption;
    HWND found;
};
BOOL CALLBACK match_window(HWND hwnd, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    if (owner == search->process && IsWindowVisible(hwnd) && *search->caption == text) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND SetupProcess::wait_for_window(const std::string& caption, DWORD timeout_ms) const {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeout_ms) {
        WindowSearch search{id_, &caption, nullptr};
        EnumWindows(match_window, LPARAM(&search));
        if (search.found) return search.found;
        if (WaitForSingleObject(process_, 20) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

std::optional<DWORD> SetupProcess::wait_for_exit(DWORD timeout_ms) const {
    if (WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

std::string own_folder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

HWND find_child(HWND parent, const char* class_name, const std::string& text) {
    return FindWindowExA(parent, nullptr, class_name, text.c_str());
}

}  // namespace quorvane::testing
