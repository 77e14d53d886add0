#pragma once
// The setup window's control properties, the only way the page handlers and
// the install worker change the window. Every call is safe from any thread:
// it is carried out on the window's own thread through SendMessage, so it
// has taken effect when it returns.
#include <windows.h>

#include <string>

namespace quorvane {

// The controls that exist as windows, by their child-window identifiers.
namespace control_id {
enum : int {
    图片框1 = 100,
    选择夹1,
    按钮2,
    标签1,
    标签2,
    标签3,
    标签4,
    按钮1,
    标签5,
    编辑框1,
    按钮4,
    标签6,
    按钮3,
    标签7,
    进度条1,
    标签8,
    标签9,
};
}

// The private messages that carry the properties to the window's thread.
// Those with whole numbers only (page, progress, disabled state) may also
// come from another process; the others carry pointers into the caller's
// memory and only work within the program.
namespace property_message {
enum : UINT {
    get_page = WM_APP + 0x40,  // returns the current page
    set_page,                  // wParam: the requested page, an int
    set_disabled,              // wParam: button id, lParam: nonzero to disable
    set_caption,               // wParam: button id, lParam: const std::string*
    get_text,                  // lParam: std::string* receiving the edit box's text
    set_text,                  // lParam: const std::string*
    set_progress,              // wParam: the requested position, an int
    get_file_name,             // lParam: std::string*
    set_file_name,             // lParam: const std::string*
    open_file_dialog,          // returns nonzero when the user chose a name
};
}

class SetupControls {
public:
    explicit SetupControls(HWND window = nullptr)
        : 选择夹1{window}, 按钮2{window, control_id::按钮2}, 按钮3{window, control_id::按钮3}, 编辑框1{window},
          进度条1{window}, 通用对话框1{window}, window_(window) {}

    struct PageControl {
        HWND window;
        // The last index written, clamped; 0 before any write.
        int current_page() const;
        // Clamped to 0..6; shows that page's controls and hides all others.
        void set_current_page(int page) const;
    } 选择夹1;

    struct Button {
        HWND window;
        int id;
        void set_disabled(bool disabled) const;
        void set_caption(const std::string& caption) const;
    } 按钮2, 按钮3;

    struct EditBox {
        HWND window;
        // What the box shows now, including what the user typed.
        std::string text() const;
        void set_text(const std::string& text) const;
    } 编辑框1;

    struct ProgressBar {
        HWND window;
        void set_position(int position) const;  // clamped to 0..100
    } 进度条1;

    struct FileDialog {
        HWND window;
        std::string file_name() const;
        void set_file_name(const std::string& name) const;
        // The modal Save-As dialog, owned by the setup window. True when the
        // user chose a name (the file name is then its full path); on cancel
        // the file name is left as it was.
        bool open() const;
    } 通用对话框1;

    // The setup window, as owner for message boxes.
    HWND window() const { return window_; }

private:
    HWND window_;
};

}  // namespace quorvane
