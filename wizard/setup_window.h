#pragma once
// The setup window: one object per window, its controls and their properties.
#include <windows.h>

#include <memory>

namespace quorvane {

class SetupWindow {
public:
    // Creates the window and all its controls, hidden; null on failure.
    static std::unique_ptr<SetupWindow> create(HINSTANCE instance);
    ~SetupWindow();

    void on_created() {}
    void show(int show_command);
    // Keys handled for the window as a whole; true when the message is used up.
    bool pre_translate(MSG& message);
    HWND hwnd() const { return hwnd_; }

private:
    SetupWindow() = default;
    static LRESULT CALLBACK proc(HWND h, UINT m, WPARAM w, LPARAM l);
    LRESULT handle(UINT m, WPARAM w, LPARAM l);

    HWND hwnd_ = nullptr;
    HWND 按钮2_ = nullptr;
};

}  // namespace quorvane
