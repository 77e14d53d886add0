#pragma once
// The setup window: one object for the window, its page control and its
// picture box; its nineteen controls, their painting, the page switch, the
// keyboard, and the control properties other code reaches it through.
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "picture.h"
#include "setup_controls.h"
#include "unique_handle.h"

namespace quorvane {

class SetupWindow {
public:
    using ClickHandler = void (*)(SetupControls& controls);
    // What the buttons do; a null handler makes its button do nothing.
    struct Handlers {
        ClickHandler next;     // 按钮1
        ClickHandler browse;   // 按钮4
        ClickHandler install;  // 按钮3
        ClickHandler cancel;   // 按钮2, under either caption
    };

    // Creates the window and all its controls, hidden; null on failure.
    static std::unique_ptr<SetupWindow> create(HINSTANCE instance, const Handlers& handlers);
    ~SetupWindow();
    SetupWindow(const SetupWindow&) = delete;
    SetupWindow& operator=(const SetupWindow&) = delete;

    void on_created() {}
    void show(int show_command);
    // Keys handled for the window as a whole, before the control with the
    // focus sees them; true when the message is used up.
    bool pre_translate(const MSG& message);
    HWND hwnd() const { return hwnd_; }
    SetupControls& controls() { return controls_; }

private:
    // The controls that are windows, in the order of control_id.
    static constexpr int control_count = control_id::标签9 - control_id::图片框1 + 1;

    explicit SetupWindow(const Handlers& handlers);
    bool create_window(HINSTANCE instance);
    bool create_controls(HINSTANCE instance);
    HWND control(int id) const { return controls_by_id_[id - control_id::图片框1]; }

    static LRESULT CALLBACK window_proc(HWND h, UINT m, WPARAM w, LPARAM l);
    static LRESULT CALLBACK pages_proc(HWND h, UINT m, WPARAM w, LPARAM l);
    static LRESULT CALLBACK picture_box_proc(HWND h, UINT m, WPARAM w, LPARAM l);
    LRESULT handle(UINT m, WPARAM w, LPARAM l);
    LRESULT handle_pages(HWND h, UINT m, WPARAM w, LPARAM l);
    LRESULT handle_picture_box(HWND h, UINT m, WPARAM w, LPARAM l);
    bool handle_property(UINT m, WPARAM w, LPARAM l, LRESULT& result);

    void paint_background(HDC dc, const RECT& area);
    void paint_logo(HDC dc, const RECT& area);
    LRESULT label_colours(HDC dc, HWND label);
    void on_command(int id, int code);
    void click(int id);

    void switch_page(int requested);
    void set_button_disabled(int id, bool disabled);
    bool open_file_dialog();

    bool can_focus(HWND control) const;
    void move_focus(bool backwards);
    void press_enter();
    void restore_focus();

    Handlers handlers_;
    HWND hwnd_ = nullptr;
    std::array<HWND, control_count> controls_by_id_{};
    SetupControls controls_;
    int current_page_ = 0;
    std::string file_name_;       // 通用对话框1's file name
    HWND focus_when_left_ = nullptr;  // the control that had the focus when the window was deactivated
    unique_font label1_font_, label2_font_, label8_font_;
    unique_icon icon_;
    StretchedPicture background_;
    StretchedPicture logo_;
};

}  // namespace quorvane
