// The plainest Win32 program with a window of the setup's size: register a
// class, create the window centred, show it, run the message loop. What any
// windowed program pays before its window appears.
#include <windows.h>

namespace {

LRESULT CALLBACK window_proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    WNDCLASSEXA wc{sizeof wc};
    wc.lpfnWndProc = window_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
    wc.lpszClassName = "BenchBareWindow";
    if (!RegisterClassExA(&wc)) return 1;
    int x = (GetSystemMetrics(SM_CXSCREEN) - 507) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - 318) / 2;
    HWND window = CreateWindowExA(0, wc.lpszClassName, "Bare window", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, x, y,
                                  507, 318, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show_command == SW_HIDE ? SW_SHOW : show_command);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
