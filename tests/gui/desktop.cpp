#include "desktop.h"

#include <cstdlib>
#include <vector>

namespace quorvane::testing {

int run_host_program(const std::string& command) {
    // Wine starts a host program without a handle to wait on: the shell
    // around it leaves its exit code in a file, which appears when it is done.
    static int serial = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string done = std::string(temp) + "host-program-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(serial++);
    DeleteFileA(done.c_str());
    const std::string done_on_host = host_path(done);
    std::string command_line = "/bin/sh -c \"" + command + "; echo $? >'" + done_on_host + ".part' && mv '" +
                               done_on_host + ".part' '" + done_on_host + "'\"";
    std::vector<char> buffer(command_line.begin(), command_line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{sizeof startup};
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
    if (!wait_until([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000)) return -1;
    char text[16] = {};
    HANDLE file = CreateFileA(done.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD read = 0;
    ReadFile(file, text, sizeof text - 1, &read, nullptr);
    CloseHandle(file);
    DeleteFileA(done.c_str());
    return read ? std::atoi(text) : -1;
}

bool press_keys(const std::string& keys) { return run_host_program("/usr/bin/xdotool key --delay 30 " + keys) == 0; }

bool click(HWND window) {
    RECT r;
    if (!GetWindowRect(window, &r)) return false;
    // Wine's desktop covers the display from its top left corner, so screen
    // coordinates are the display's.
    int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    return run_host_program("/usr/bin/xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) +
                            " click 1") == 0;
}

HWND focus_of(HWND window) {
    GUITHREADINFO info{sizeof info};
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

std::string text_of(HWND window) {
    char text[1024] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, LPARAM(text));
    return text;
}

std::string class_of(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

RECT rect_in_parent(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string host_path(const std::string& windows_path) {
    // Wine tells its own mapping; the Z: drive is the host's root otherwise.
    using ToUnix = char*(CDECL*)(const WCHAR*);
    auto to_unix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (to_unix) {
        int length = MultiByteToWideChar(CP_ACP, 0, windows_path.c_str(), -1, nullptr, 0);
        std::wstring wide(std::size_t(length), L'\0');
        MultiByteToWideChar(CP_ACP, 0, windows_path.c_str(), -1, wide.data(), length);
        if (char* unix_path = to_unix(wide.c_str())) {
            std::string result = unix_path;
            HeapFree(GetProcessHeap(), 0, unix_path);
            return result;
        }
    }
    std::string result = windows_path.size() > 2 && windows_path[1] == ':' ? windows_path.substr(2) : windows_path;
    for (char& c : result) {
        if (c == '\\') c = '/';
    }
    return result;
}

bool save_screenshot(const std::string& windows_path) {
    // The folder first: the host program cannot make it.
    std::string folder = windows_path.substr(0, windows_path.find_last_of('\\'));
    CreateDirectoryA(folder.c_str(), nullptr);
    return run_host_program("/usr/bin/import -silent -window root '" + host_path(windows_path) + "'") == 0;
}

}  // namespace quorvane::testing
