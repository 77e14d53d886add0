// Quorvane 1.4: loads its core library and its data module from its own
// folder, then shows its window. A missing or damaged part is reported in a
// message box and the program ends with exit code 1.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "core.h"
#include "dbcs_path.h"
#include "unique_handle.h"

namespace {

using quorvane::unique_file;
using quorvane::unique_handle;

constexpr char core_name[] = "QuorvaneCore.dll";
constexpr char data_name[] = "Quorvane.dat";
constexpr char error_caption[] = "Quorvane";
// A data module is a few kilobytes; refuse to load something absurd.
constexpr LONGLONG largest_data_module = 16 << 20;

struct module_traits {
    using pointer = HMODULE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { FreeLibrary(h); }
};
using unique_module = unique_handle<module_traits>;

// GetProcAddress gives every function one type; the real one is known here.
template <class Function>
Function core_function(HMODULE core, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(core, name)));
}

bool ansi_lead_byte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

std::string own_folder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, path.data(), DWORD(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return quorvane::folder_of(path, ansi_lead_byte);
}

std::optional<std::vector<unsigned char>> read_data_module(const std::string& path) {
    unique_file file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > largest_data_module) return std::nullopt;
    std::vector<unsigned char> bytes(std::size_t(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, DWORD(bytes.size() - done), &got, nullptr) || got == 0)
            return std::nullopt;
        done += got;
    }
    return bytes;
}

int fail(const std::string& message) {
    MessageBoxA(nullptr, (message + "\n请重新安装 Quorvane 1.4。").c_str(), error_caption, MB_OK | MB_ICONERROR);
    return 1;
}

class MainWindow {
public:
    MainWindow(std::string greeting, std::string about) : greeting_(std::move(greeting)), about_(std::move(about)) {}

    bool create(HINSTANCE instance, int show_command) {
        WNDCLASSEXA window_class{sizeof window_class};
        window_class.lpfnWndProc = proc;
        window_class.hInstance = instance;
        window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        window_class.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
        window_class.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        window_class.lpszClassName = "QuorvaneMainWindow";
        if (!RegisterClassExA(&window_class)) return false;
        HWND window = CreateWindowExA(0, window_class.lpszClassName, "Quorvane 1.4", WS_OVERLAPPEDWINDOW,
                                      CW_USEDEFAULT, CW_USEDEFAULT, 520, 240, nullptr, nullptr, instance, this);
        if (!window) return false;
        ShowWindow(window, show_command);
        UpdateWindow(window);
        return true;
    }

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM w, LPARAM l) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(window, GWLP_USERDATA, LONG_PTR(LPCREATESTRUCTA(l)->lpCreateParams));
        auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        return self ? self->handle(window, message, w, l) : DefWindowProcA(window, message, w, l);
    }

    LRESULT handle(HWND window, UINT message, WPARAM w, LPARAM l) {
        switch (message) {
        case WM_CREATE:
            add_labels(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcA(window, message, w, l);
    }

    void add_labels(HWND window) {
        auto font = WPARAM(GetStockObject(DEFAULT_GUI_FONT));
        HINSTANCE instance = HINSTANCE(GetWindowLongPtrA(window, GWLP_HINSTANCE));
        struct Label { const std::string* text; int top, height; };
        for (const Label& label : {Label{&greeting_, 24, 24}, Label{&about_, 60, 80}}) {
            HWND control = CreateWindowExA(0, "Static", label.text->c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 24,
                                           label.top, 460, label.height, window, nullptr, instance, nullptr);
            SendMessageA(control, WM_SETFONT, font, FALSE);
        }
    }

    std::string greeting_;
    std::string about_;
};

std::optional<std::string> module_text(qvcore_module_text_fn text_of, const std::vector<unsigned char>& module,
                                       const char* key) {
    int length = text_of(module.data(), unsigned(module.size()), key, nullptr, 0);
    if (length < 0) return std::nullopt;
    std::string text(std::size_t(length) + 1, '\0');
    text_of(module.data(), unsigned(module.size()), key, text.data(), unsigned(text.size()));
    text.resize(std::size_t(length));
    return text;
}

int run(HINSTANCE instance, int show_command) {
    // Both parts come from the program's own folder, never from the search
    // path: the launcher starts the program from the desktop.
    std::string folder = own_folder();
    std::string core_path = folder + "\\" + core_name;
    unique_module core(LoadLibraryA(core_path.c_str()));
    if (!core) return fail("无法加载核心库 " + core_path + "。");
    auto check = core_function<qvcore_check_module_fn>(core.get(), "qvcore_check_module");
    auto text_of = core_function<qvcore_module_text_fn>(core.get(), "qvcore_module_text");
    if (!check || !text_of) return fail("核心库 " + core_path + " 的版本不符。");

    std::string data_path = folder + "\\" + data_name;
    auto module = read_data_module(data_path);
    if (!module) return fail("无法读取数据模块 " + data_path + "。");
    if (int verdict = check(module->data(), unsigned(module->size())); verdict != 0)
        return fail("数据模块 " + data_path + " 已损坏（" + std::to_string(verdict) + "）。");
    auto greeting = module_text(text_of, *module, "greeting");
    auto about = module_text(text_of, *module, "about");
    if (!greeting || !about) return fail("数据模块 " + data_path + " 缺少所需的文字。");

    MainWindow main_window(std::move(*greeting), std::move(*about));
    if (!main_window.create(instance, show_command)) return fail("无法创建窗口。");
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return int(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) { return run(instance, show_command); }
