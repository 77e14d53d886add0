#include "setup_window.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <iterator>

#include "setup_pictures.h"
#include "system_library.h"
#include "window_rules.h"

namespace quorvane {

namespace {

constexpr char window_class[] = "QuorvaneSetupWindow";
constexpr char pages_class[] = "QuorvanePageControl";
constexpr char picture_box_class[] = "QuorvanePictureBox";

constexpr int window_width = 507, window_height = 318;
constexpr int on_window = -1;  // the page of a control that stands on the window itself

enum class Kind { picture_box, page_control, button, default_button, label, edit_box, progress_bar };
enum class Font { gui, label1, label2, label8 };

struct ControlLayout {
    int id;
    int page;  // 0 to 6, or on_window
    Kind kind;
    int x, y, width, height;  // in the parent's client area
    const char* text;
    Font font = Font::gui;
    bool word_wrap = false;
};

using namespace control_id;

// Each parent's controls from the top of the stacking order down. The file
// dialog (top of page 2) and the ZIP component are no windows.
const ControlLayout control_layouts[] = {
    {按钮2, on_window, Kind::button, 424, 216, 56, 24, "取消"},
    {选择夹1, on_window, Kind::page_control, 136, 40, 352, 224, ""},
    {图片框1, on_window, Kind::picture_box, 8, 0, 56, 56, ""},

    {标签4, 0, Kind::label, 16, 64, 304, 56, "此向导将帮助您完成 Quorvane 的安装。\r\n\r\n点击“下一步”进行下一步", Font::gui, true},
    {标签3, 0, Kind::label, 256, 24, 40, 24, "Setup"},
    {标签2, 0, Kind::label, 95, 13, 168, 40, "QuorvaneV1.4", Font::label2},
    {标签1, 0, Kind::label, 16, 16, 88, 40, "欢迎来到", Font::label1},
    {按钮1, 0, Kind::default_button, 224, 176, 64, 24, "下一步"},

    {按钮4, 1, Kind::button, 312, 56, 32, 24, "..."},
    {标签6, 1, Kind::label, 16, 88, 120, 24, "至少需要10MB 的空间"},
    {按钮3, 1, Kind::default_button, 232, 176, 56, 24, "安装"},
    {编辑框1, 1, Kind::edit_box, 16, 56, 296, 24, ""},
    {标签5, 1, Kind::label, 16, 16, 120, 24, "请选择安装位置："},

    {进度条1, 2, Kind::progress_bar, 8, 72, 336, 24, ""},
    {标签7, 2, Kind::label, 8, 24, 64, 24, "正在安装"},

    {标签9, 3, Kind::label, 24, 72, 112, 24, "点击“完成”退出"},
    {标签8, 3, Kind::label, 16, 8, 224, 48, "您已成功安装", Font::label8},
};

// Tab and Shift+Tab walk these, wrapping at either end.
constexpr int focus_order[] = {按钮1, 编辑框1, 按钮3, 按钮2, 按钮4};

constexpr COLORREF label_text = RGB(0, 0, 0);
constexpr COLORREF label2_text = RGB(0, 0, 255);

struct ClassAndStyle {
    const char* name;
    DWORD style, ex_style;
};

ClassAndStyle class_and_style(const ControlLayout& layout) {
    // Siblings overlap (the labels of page 1, 按钮2 over the page control):
    // each clips the others so the one higher in the stacking order wins.
    const DWORD child = WS_CHILD | WS_CLIPSIBLINGS | (layout.page == on_window || layout.page == 0 ? WS_VISIBLE : 0);
    switch (layout.kind) {
    case Kind::picture_box:
        return {picture_box_class, child, 0};
    case Kind::page_control:
        return {pages_class, child | WS_CLIPCHILDREN, 0};
    case Kind::button:
        return {WC_BUTTONA, child | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, 0};
    case Kind::default_button:
        return {WC_BUTTONA, child | WS_TABSTOP | BS_DEFPUSHBUTTON | BS_MULTILINE, 0};
    case Kind::label:
        // One line centred vertically, or wrapped lines from the top left.
        return {WC_STATICA,
                child | SS_NOPREFIX | (layout.word_wrap ? SS_LEFT : SS_LEFTNOWORDWRAP | SS_CENTERIMAGE), 0};
    case Kind::edit_box:
        return {WC_EDITA, child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::progress_bar:
        return {PROGRESS_CLASSA, child, 0};
    }
    return {WC_STATICA, child, 0};
}

// The platform's default face at an em height (negative height: internal
// leading not counted), in the default character set; the default GUI font
// when it cannot be made.
HFONT make_font(int em_height, int weight) {
    return CreateFontA(-em_height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, nullptr);
}

HFONT gui_font() { return HFONT(GetStockObject(DEFAULT_GUI_FONT)); }

HFONT font_or_gui(const unique_font& font) { return font ? font.get() : gui_font(); }

void register_class(HINSTANCE instance, const char* name, WNDPROC proc, HBRUSH background) {
    WNDCLASSEXA wc{sizeof wc};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassExA(&wc);  // already registered by an earlier window: fine
}

std::string window_text(HWND h) {
    std::string text(std::size_t(GetWindowTextLengthA(h)) + 1, '\0');
    text.resize(std::size_t(GetWindowTextA(h, text.data(), int(text.size()))));
    return text;
}

HBRUSH face_brush() { return GetSysColorBrush(COLOR_BTNFACE); }

// The window's procedures find the object that its creation handed over.
template <class Self>
Self* object_of(HWND h, UINT m, LPARAM l) {
    if (m == WM_NCCREATE) SetWindowLongPtrA(h, GWLP_USERDATA, LONG_PTR(LPCREATESTRUCTA(l)->lpCreateParams));
    return reinterpret_cast<Self*>(GetWindowLongPtrA(h, GWLP_USERDATA));
}

}  // namespace

SetupWindow::SetupWindow(const Handlers& handlers)
    : handlers_(handlers), background_(background_png()), logo_(logo_png()) {}

std::unique_ptr<SetupWindow> SetupWindow::create(HINSTANCE instance, const Handlers& handlers) {
    std::unique_ptr<SetupWindow> self(new SetupWindow(handlers));
    if (!self->create_window(instance) || !self->create_controls(instance)) return nullptr;
    return self;
}

SetupWindow::~SetupWindow() {
    if (hwnd_) {
        // Destroyed by its owner, not closed by the user: no quit message.
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool SetupWindow::create_window(HINSTANCE instance) {
    INITCOMMONCONTROLSEX common{sizeof common, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&common);
    register_class(instance, window_class, window_proc, nullptr);
    register_class(instance, pages_class, pages_proc, HBRUSH(COLOR_BTNFACE + 1));
    register_class(instance, picture_box_class, picture_box_proc, nullptr);

    // Centred on the whole primary screen, not its work area.
    int x = (GetSystemMetrics(SM_CXSCREEN) - window_width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - window_height) / 2;
    CreateWindowExA(0, window_class, "Quorvane V1.4 Setup",
                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, x, y, window_width,
                    window_height, nullptr, nullptr, instance, this);
    if (!hwnd_) return false;
    controls_ = SetupControls(hwnd_);

    // The program file's own icon, for the caption and the task bar alike.
    icon_.reset(HICON(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON, 32, 32, 0)));
    if (icon_) {
        SendMessageA(hwnd_, WM_SETICON, ICON_BIG, LPARAM(icon_.get()));
        SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, LPARAM(icon_.get()));
    }
    return true;
}

bool SetupWindow::create_controls(HINSTANCE instance) {
    label1_font_.reset(make_font(19, FW_NORMAL));
    label2_font_.reset(make_font(24, FW_BOLD));
    label8_font_.reset(make_font(29, FW_BOLD));

    for (const ControlLayout& layout : control_layouts) {
        HWND parent = layout.page == on_window ? hwnd_ : control(选择夹1);
        ClassAndStyle cs = class_and_style(layout);
        HWND h = CreateWindowExA(cs.ex_style, cs.name, layout.text, cs.style, layout.x, layout.y, layout.width, layout.height,
                                 parent, HMENU(INT_PTR(layout.id)), instance, this);
        if (!h) return false;
        controls_by_id_[layout.id - 图片框1] = h;
        // The table lists each parent's controls from the top down.
        SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        HFONT font = gui_font();
        if (layout.font == Font::label1) font = font_or_gui(label1_font_);
        if (layout.font == Font::label2) font = font_or_gui(label2_font_);
        if (layout.font == Font::label8) font = font_or_gui(label8_font_);
        SendMessageA(h, WM_SETFONT, WPARAM(font), FALSE);
    }
    SendMessageA(control(进度条1), PBM_SETRANGE32, 0, 100);
    SendMessageA(control(进度条1), PBM_SETPOS, 0, 0);
    return true;
}

void SetupWindow::show(int show_command) {
    ShowWindow(hwnd_, show_command == SW_HIDE ? SW_SHOW : show_command);
    UpdateWindow(hwnd_);
}

LRESULT CALLBACK SetupWindow::window_proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    auto* self = object_of<SetupWindow>(h, m, l);
    if (!self) return DefWindowProcA(h, m, w, l);
    if (m == WM_NCCREATE) self->hwnd_ = h;
    return self->handle(m, w, l);
}

LRESULT CALLBACK SetupWindow::pages_proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    auto* self = object_of<SetupWindow>(h, m, l);
    return self ? self->handle_pages(h, m, w, l) : DefWindowProcA(h, m, w, l);
}

LRESULT CALLBACK SetupWindow::picture_box_proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    auto* self = object_of<SetupWindow>(h, m, l);
    return self ? self->handle_picture_box(h, m, w, l) : DefWindowProcA(h, m, w, l);
}

LRESULT SetupWindow::handle(UINT m, WPARAM w, LPARAM l) {
    LRESULT result = 0;
    if (handle_property(m, w, l, result)) return result;
    switch (m) {
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT paints every pixel
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        paint_background(dc, ps.rcPaint);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_PRINTCLIENT: {
        // Themed buttons ask for what lies beneath their rounded corners.
        RECT area;
        GetClientRect(hwnd_, &area);
        paint_background(HDC(w), area);
        return 0;
    }
    case WM_DISPLAYCHANGE:
    case WM_SYSCOLORCHANGE:
        background_.forget_scaled();
        logo_.forget_scaled();
        InvalidateRect(hwnd_, nullptr, FALSE);
        InvalidateRect(control(图片框1), nullptr, FALSE);
        break;
    case WM_COMMAND:
        on_command(LOWORD(w), HIWORD(w));
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(w) == WA_INACTIVE) {
            HWND focus = GetFocus();
            focus_when_left_ = focus && IsChild(hwnd_, focus) ? focus : nullptr;
        } else if (!HIWORD(w)) {  // not while minimised
            restore_focus();
        }
        return 0;
    case WM_DESTROY:
        hwnd_ = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd_, m, w, l);
}

LRESULT SetupWindow::handle_pages(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_COMMAND:
        on_command(LOWORD(w), HIWORD(w));
        return 0;
    case WM_CTLCOLORSTATIC:
        return label_colours(HDC(w), HWND(l));
    }
    // The class brush paints the whole rectangle in the window colour: no
    // frame, no tabs, no caption.
    return DefWindowProcA(h, m, w, l);
}

LRESULT SetupWindow::handle_picture_box(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        paint_logo(dc, ps.rcPaint);
        EndPaint(h, &ps);
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT area;
        GetClientRect(h, &area);
        paint_logo(HDC(w), area);
        return 0;
    }
    }
    return DefWindowProcA(h, m, w, l);
}

void SetupWindow::paint_background(HDC dc, const RECT& area) {
    RECT client;
    GetClientRect(hwnd_, &client);
    if (!background_.paint(dc, SIZE{client.right, client.bottom}, area)) FillRect(dc, &area, face_brush());
    // Under the page control lies the window colour (clipped out of a normal
    // paint, asked for by themed buttons on top of it).
    RECT pages, under;
    GetWindowRect(control(选择夹1), &pages);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&pages), 2);
    if (IntersectRect(&under, &pages, &area)) FillRect(dc, &under, face_brush());
}

void SetupWindow::paint_logo(HDC dc, const RECT& area) {
    RECT box;
    GetClientRect(control(图片框1), &box);
    FillRect(dc, &area, face_brush());
    logo_.paint(dc, SIZE{box.right, box.bottom}, area);
}

LRESULT SetupWindow::label_colours(HDC dc, HWND label) {
    // Opaque labels in the window colour; the text itself is drawn without
    // a background of its own.
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, label == control(标签2) ? label2_text : label_text);
    return LRESULT(face_brush());
}

void SetupWindow::on_command(int id, int code) {
    if (code == BN_CLICKED) click(id);
}

void SetupWindow::click(int id) {
    ClickHandler handler = nullptr;
    switch (id) {
    case 按钮1: handler = handlers_.next; break;
    case 按钮4: handler = handlers_.browse; break;
    case 按钮3: handler = handlers_.install; break;
    case 按钮2: handler = handlers_.cancel; break;
    }
    if (handler) handler(controls_);
}

bool SetupWindow::handle_property(UINT m, WPARAM w, LPARAM l, LRESULT& result) {
    namespace pm = property_message;
    auto is_button = [](WPARAM id) { return id == WPARAM(按钮2) || id == WPARAM(按钮3); };
    result = 0;
    switch (m) {
    case pm::get_page:
        result = current_page_;
        return true;
    case pm::set_page:
        switch_page(int(w));
        return true;
    case pm::set_disabled:
        if (is_button(w)) set_button_disabled(int(w), l != 0);
        return true;
    case pm::set_caption:
        if (is_button(w) && l) SetWindowTextA(control(int(w)), reinterpret_cast<const std::string*>(l)->c_str());
        return true;
    case pm::get_text:
        if (l) *reinterpret_cast<std::string*>(l) = window_text(control(编辑框1));
        return true;
    case pm::set_text:
        if (l) SetWindowTextA(control(编辑框1), reinterpret_cast<const std::string*>(l)->c_str());
        return true;
    case pm::set_progress:
        SendMessageA(control(进度条1), PBM_SETPOS, WPARAM(clamp_progress(int(w))), 0);
        return true;
    case pm::get_file_name:
        if (l) *reinterpret_cast<std::string*>(l) = file_name_;
        return true;
    case pm::set_file_name:
        if (l) file_name_ = *reinterpret_cast<const std::string*>(l);
        return true;
    case pm::open_file_dialog:
        result = open_file_dialog() ? 1 : 0;
        return true;
    }
    return false;
}

void SetupWindow::switch_page(int requested) {
    current_page_ = clamp_page(requested);
    // Hide the other pages' controls first: the page control's rectangle
    // shows where they stood. Then show the new page's, without activating
    // them or moving the focus. A page that is already shown stays as it is.
    for (const ControlLayout& layout : control_layouts) {
        HWND h = control(layout.id);
        if (layout.page != on_window && layout.page != current_page_ && (GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE))
            ShowWindow(h, SW_HIDE);
    }
    for (const ControlLayout& layout : control_layouts) {
        HWND h = control(layout.id);
        if (layout.page == current_page_ && !(GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE)) ShowWindow(h, SW_SHOWNA);
    }
}

void SetupWindow::set_button_disabled(int id, bool disabled) {
    HWND button = control(id);
    // A disabled control loses the focus; the window keeps it, so that Esc
    // and Tab still reach it as ordinary keys.
    if (disabled && GetFocus() == button) SetFocus(hwnd_);
    EnableWindow(button, disabled ? FALSE : TRUE);
}

bool SetupWindow::open_file_dialog() {
    char name[MAX_PATH] = {};
    file_name_.copy(name, sizeof name - 1);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hwnd_;
    dialog.lpstrFile = name;
    dialog.nMaxFile = sizeof name;
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER |
                   OFN_ENABLESIZING;
    // The common dialogs (and the printing libraries they drag in) are loaded
    // on the first click on "...", not before the window shows.
    static const SystemFunction<decltype(GetSaveFileNameA)> save_file_dialog("comdlg32.dll", "GetSaveFileNameA");
    if (!save_file_dialog || !save_file_dialog.get()(&dialog)) return false;
    file_name_ = name;
    return true;
}

bool SetupWindow::can_focus(HWND control) const {
    return control && IsWindowVisible(control) && IsWindowEnabled(control);
}

void SetupWindow::move_focus(bool backwards) {
    bool focusable[std::size(focus_order)];
    std::optional<std::size_t> current;
    HWND focus = GetFocus();
    for (std::size_t i = 0; i < std::size(focus_order); ++i) {
        focusable[i] = can_focus(control(focus_order[i]));
        if (control(focus_order[i]) == focus) current = i;
    }
    std::optional<std::size_t> next = next_focus(focusable, current, backwards);
    if (!next) return;
    HWND target = control(focus_order[*next]);
    SetFocus(target);
    if (target == control(编辑框1)) SendMessageA(target, EM_SETSEL, 0, -1);
}

void SetupWindow::press_enter() {
    HWND focus = GetFocus();
    for (int id : {按钮1, 按钮3}) {
        if (focus == control(id) && can_focus(focus)) click(id);
    }
}

void SetupWindow::restore_focus() {
    if (can_focus(focus_when_left_)) {
        SetFocus(focus_when_left_);
        return;
    }
    bool focusable[std::size(focus_order)];
    for (std::size_t i = 0; i < std::size(focus_order); ++i) focusable[i] = can_focus(control(focus_order[i]));
    std::optional<std::size_t> first = first_focus(focusable);
    SetFocus(first ? control(focus_order[*first]) : hwnd_);
}

bool SetupWindow::pre_translate(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    if (!hwnd_ || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) return false;
    // With Alt held these are the system's keys (Alt+F4, Alt+Tab, the menu).
    // Without it, a key arrives as WM_SYSKEYDOWN when no control has the focus.
    if (message.message == WM_SYSKEYDOWN && (message.lParam & (LPARAM(1) << 29))) return false;
    switch (message.wParam) {
    case VK_ESCAPE:
        // The same request as the caption's close button, on every page.
        PostMessageA(hwnd_, WM_CLOSE, 0, 0);
        return true;
    case VK_TAB:
        move_focus(GetKeyState(VK_SHIFT) < 0);
        return true;
    case VK_RETURN:
        press_enter();
        return true;
    }
    return false;
}

}  // namespace quorvane
