#include "setup_controls.h"

namespace quorvane {

namespace pm = property_message;

int SetupControls::PageControl::current_page() const { return int(SendMessageA(window, pm::get_page, 0, 0)); }

void SetupControls::PageControl::set_current_page(int page) const {
    SendMessageA(window, pm::set_page, WPARAM(page), 0);
}

void SetupControls::Button::set_disabled(bool disabled) const {
    SendMessageA(window, pm::set_disabled, WPARAM(id), disabled ? 1 : 0);
}

void SetupControls::Button::set_caption(const std::string& caption) const {
    SendMessageA(window, pm::set_caption, WPARAM(id), LPARAM(&caption));
}

std::string SetupControls::EditBox::text() const {
    std::string text;
    SendMessageA(window, pm::get_text, 0, LPARAM(&text));
    return text;
}

void SetupControls::EditBox::set_text(const std::string& text) const {
    SendMessageA(window, pm::set_text, 0, LPARAM(&text));
}

void SetupControls::ProgressBar::set_position(int position) const {
    SendMessageA(window, pm::set_progress, WPARAM(position), 0);
}

std::string SetupControls::FileDialog::file_name() const {
    std::string name;
    SendMessageA(window, pm::get_file_name, 0, LPARAM(&name));
    return name;
}

void SetupControls::FileDialog::set_file_name(const std::string& name) const {
    SendMessageA(window, pm::set_file_name, 0, LPARAM(&name));
}

bool SetupControls::FileDialog::open() const { return SendMessageA(window, pm::open_file_dialog, 0, 0) != 0; }

}  // namespace quorvane
