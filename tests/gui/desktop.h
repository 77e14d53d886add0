#pragma once
// Driving a program's windows from outside as a user would: real key presses
// and mouse clicks on the X display Wine draws on (through xdotool), the
// focus and pages read back through Win32 calls, screenshots of the display.
#include <windows.h>

#include <string>

namespace quorvane::testing {

// Runs a command line of the host system's shell (not a Windows program)
// and waits for it; its exit code, or -1 when it could not be run. Single
// quotes only inside.
int run_host_program(const std::string& command);

// Presses keys as xdotool names them ("Tab", "shift+Tab", "Return").
bool press_keys(const std::string& keys);
// A left click at the middle of a window.
bool click(HWND window);

// The window with the keyboard focus in the thread that owns `window`.
HWND focus_of(HWND window);

// Polls until the condition holds or the time is up; the condition's last value.
template <class Condition>
bool wait_until(Condition condition, DWORD timeout_ms = 5000) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start > timeout_ms) return condition();
        Sleep(20);
    }
}

// A window's text through WM_GETTEXT, which reaches other processes too.
std::string text_of(HWND window);
std::string class_of(HWND window);
// A child's rectangle in its parent's client area.
RECT rect_in_parent(HWND child);

// The host system's path for a Windows path (Wine maps its drives onto it).
std::string host_path(const std::string& windows_path);
// A PNG of the whole display, written to a Windows path.
bool save_screenshot(const std::string& windows_path);

}  // namespace quorvane::testing
