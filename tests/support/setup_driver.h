#pragma once
// Drives a running setup from outside as a user would: real clicks and keys
// through xdotool on the session's X display, and Win32 calls to read what
// the window shows.
#include <windows.h>

#include <functional>
#include <string>

namespace quorvane::testing {

// Runs xdotool with these arguments (Wine starts the Unix program) and waits.
bool xdotool(const std::string& arguments);

// A real left click in the middle of the control.
bool click(HWND control);

// Replaces the edit box's text: a click into it, the keys End, Shift+Home
// and BackSpace, then the text (GBK) character by character.
bool type_into(HWND edit, const std::string& text);

// A descendant of parent with this class and, unless null, this text.
HWND find_descendant(HWND parent, const char* class_name, const char* text);

std::string window_text(HWND window);
bool shown(HWND window);

// Polls until the condition holds; false after the timeout.
bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms = 20000);

// A visible message box of the process (dialog class #32770), or null.
HWND find_message_box(DWORD process_id);
// The message box's text.
std::string message_box_text(HWND box);

}  // namespace quorvane::testing
