#include "setup_window.h"

#include "page_handlers.h"

namespace quorvane {

namespace {
constexpr char window_class[] = "QuorvaneSetupWindow";
constexpr int id_按钮2 = 102;
}  // namespace

std::unique_ptr<SetupWindow> SetupWindow::create(HINSTANCE instance) {
    WNDCLASSEXA wc{sizeof wc};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
    wc.lpszClassName = window_class;
    RegisterClassExA(&wc);

    std::unique_ptr<SetupWindow> self(new SetupWindow);
    int x = (GetSystemMetrics(SM_CXSCREEN) - 507) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - 318) / 2;
    HWND hwnd = CreateWindowExA(0, window_class, "Quorvane V1.4 Setup",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, x, y, 507,
                                318, nullptr, nullptr, instance, self.get());
    if (!hwnd) return nullptr;
    self->按钮2_ = CreateWindowExA(0, "BUTTON", "取消", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 424,
                                   216, 56, 24, hwnd, HMENU(INT_PTR(id_按钮2)), instance, nullptr);
    SendMessageA(self->按钮2_, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return self;
}

SetupWindow::~SetupWindow() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void SetupWindow::show(int show_command) { ShowWindow(hwnd_, show_command == SW_HIDE ? SW_SHOW : show_command); }

bool SetupWindow::pre_translate(MSG& message) {
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE &&
        (message.hwnd == hwnd_ || IsChild(hwnd_, message.hwnd))) {
        PostMessageA(hwnd_, WM_CLOSE, 0, 0);
        return true;
    }
    return IsDialogMessageA(hwnd_, &message) != FALSE;
}

LRESULT CALLBACK SetupWindow::proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCCREATE) {
        auto* self = static_cast<SetupWindow*>(LPCREATESTRUCTA(l)->lpCreateParams);
        self->hwnd_ = h;
        SetWindowLongPtrA(h, GWLP_USERDATA, LONG_PTR(self));
    }
    auto* self = reinterpret_cast<SetupWindow*>(GetWindowLongPtrA(h, GWLP_USERDATA));
    return self ? self->handle(m, w, l) : DefWindowProcA(h, m, w, l);
}

LRESULT SetupWindow::handle(UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_COMMAND:
        if (LOWORD(w) == id_按钮2 && HIWORD(w) == BN_CLICKED) on_cancel_clicked();
        return 0;
    case WM_DESTROY:
        hwnd_ = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd_, m, w, l);
}

}  // namespace quorvane
