#include "setup_driver.h"

#include "win32_files.h"

#include <vector>

namespace quorvane::testing {

namespace {

// The host's path for a Windows path, as Wine maps its drives.
std::string host_path(const std::string& windows_path) {
    using ToUnix = char*(CDECL*)(const WCHAR*);
    auto to_unix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!to_unix) return {};
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, windows_path.c_str(), -1, wide, MAX_PATH);
    char* unix_path = to_unix(wide);
    if (!unix_path) return {};
    std::string result = unix_path;
    HeapFree(GetProcessHeap(), 0, unix_path);
    return result;
}

// Wine starts a host program without giving back a handle to wait on, so the
// shell that runs it leaves its exit code in a file once it has ended.
bool run_host_command(const std::string& command) {
    char folder[MAX_PATH] = {}, marker[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    if (!GetTempFileNameA(folder, "xdo", 0, marker)) return false;
    DeleteFileA(marker);
    std::string unix_marker = host_path(marker);
    if (unix_marker.empty()) return false;
    std::string line = "/bin/sh -c \"" + command + "; echo $? >'" + unix_marker + ".part' && mv '" + unix_marker +
                       ".part' '" + unix_marker + "'\"";
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{sizeof startup};
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
    std::optional<std::vector<std::uint8_t>> code;
    bool ended = wait_until([&] { return (code = read_whole_file(marker)).has_value(); }, 20000);
    DeleteFileA(marker);
    return ended && !code->empty() && (*code)[0] == '0';
}

}  // namespace

bool xdotool(const std::string& arguments) { return run_host_command("/usr/bin/xdotool " + arguments); }

bool click(HWND control) {
    RECT r{};
    if (!GetWindowRect(control, &r)) return false;
    int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    return xdotool("mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " click 1");
}

bool type_into(HWND edit, const std::string& text) {
    if (!click(edit)) return false;
    if (!xdotool("key --clearmodifiers End shift+Home BackSpace")) return false;
    // The characters go in as character messages, the way an input method
    // hands them over: xdotool's own typing of Chinese races Wine's reading
    // of the keyboard map and loses characters.
    for (char c : text)
        if (!PostMessageA(edit, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 1)) return false;
    return true;
}

namespace {
struct Search {
    const char* class_name;
    const char* text;
    HWND found;
};
BOOL CALLBACK match_descendant(HWND hwnd, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (lstrcmpiA(name, search->class_name) == 0 && (!search->text || window_text(hwnd) == search->text)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct BoxSearch {
    DWORD process;
    HWND found;
};
BOOL CALLBACK match_box(HWND hwnd, LPARAM context) {
    auto* search = reinterpret_cast<BoxSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (owner == search->process && IsWindowVisible(hwnd) && std::string(name) == "#32770") {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND find_descendant(HWND parent, const char* class_name, const char* text) {
    Search search{class_name, text, nullptr};
    EnumChildWindows(parent, match_descendant, LPARAM(&search));
    return search.found;
}

std::string window_text(HWND window) {
    // WM_GETTEXT, not GetWindowText: for another process's window that only
    // gives the caption the window was made with, not what an edit box holds.
    char text[1024] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, LPARAM(text));
    return text;
}

bool shown(HWND window) { return window && IsWindowVisible(window); }

bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms) {
    DWORD start = GetTickCount();
    do {
        if (condition()) return true;
        Sleep(10);
    } while (GetTickCount() - start < timeout_ms);
    return condition();
}

HWND find_message_box(DWORD process_id) {
    BoxSearch search{process_id, nullptr};
    EnumWindows(match_box, LPARAM(&search));
    return search.found;
}

std::string message_box_text(HWND box) {
    // The message box's text is its static control with the id 0xFFFF.
    char text[2048] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

}  // namespace quorvane::testing
