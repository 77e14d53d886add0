// gui_driver window PROGRAM
//   Starts PROGRAM and reports the time until it shows a top-level window,
//   then closes that window.
// gui_driver install PROGRAM FOLDER
//   Starts the setup, clicks Next as soon as it is visible, puts FOLDER into
//   the install folder box, clicks Install as soon as it is visible, and
//   reports the time until the finish page shows; then clicks Done.
// gui_driver run PROGRAM [ARGUMENTS...]
//   Starts PROGRAM and reports the time until it ends, and its exit code.
//
// Every time runs from just before CreateProcess. Output: "elapsed_ms: T" and,
// for run, "exit_code: N". Exit code 0 when the step it waits for happened,
// 3 when the setup shows no wizard to drive, 1 on any other failure.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>

namespace {

constexpr DWORD poll_ms = 1;
constexpr double give_up_ms = 180000;
// A setup that has no wizard yet (or lost it) shows no Next or Install
// button: that is told apart from a failed install by exit code 3.
constexpr double no_wizard_ms = 15000;
constexpr int no_wizard = 3;

class Process {
public:
    explicit Process(const std::string& command_line) {
        std::string buffer = command_line;
        STARTUPINFOA startup{sizeof startup};
        PROCESS_INFORMATION info{};
        QueryPerformanceCounter(&start_);
        if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
            return;
        CloseHandle(info.hThread);
        handle_ = info.hProcess;
        id_ = info.dwProcessId;
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() {
        if (!handle_) return;
        if (WaitForSingleObject(handle_, 10000) == WAIT_TIMEOUT) TerminateProcess(handle_, 99);
        CloseHandle(handle_);
    }

    bool started() const { return handle_ != nullptr; }
    DWORD id() const { return id_; }
    // Waits one polling interval; false once the process has ended.
    bool alive_after_pause() const { return WaitForSingleObject(handle_, poll_ms) == WAIT_TIMEOUT; }
    bool wait_for_exit(DWORD ms) const { return WaitForSingleObject(handle_, ms) == WAIT_OBJECT_0; }
    DWORD exit_code() const {
        DWORD code = 0;
        GetExitCodeProcess(handle_, &code);
        return code;
    }
    double elapsed_ms() const {
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return double(now.QuadPart - start_.QuadPart) * 1000.0 / double(frequency.QuadPart);
    }

private:
    LARGE_INTEGER start_{};
    HANDLE handle_ = nullptr;
    DWORD id_ = 0;
};

// Window texts are read from the window manager's copy, so polling sends the
// watched program no message and never waits for its UI thread.
std::wstring text_of(HWND h) {
    wchar_t text[256] = {};
    InternalGetWindowText(h, text, 256);
    return text;
}

// Enumeration callbacks are named functions: a lambda has no stdcall form
// on i686.
BOOL CALLBACK match_top_window(HWND h, LPARAM context) {
    auto* s = reinterpret_cast<std::pair<DWORD, HWND>*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner != s->first || !IsWindowVisible(h)) return TRUE;
    s->second = h;
    return FALSE;
}

HWND visible_top_window(DWORD process) {
    std::pair<DWORD, HWND> search{process, nullptr};
    EnumWindows(match_top_window, LPARAM(&search));
    return search.second;
}

struct ChildSearch {
    const wchar_t* text;
    bool want_visible_and_enabled;
    HWND found;
};

// A descendant of top with this text; when usable is asked for, only one
// that is shown (with all its parents) and enabled.
BOOL CALLBACK match_descendant(HWND h, LPARAM context) {
    auto* s = reinterpret_cast<ChildSearch*>(context);
    if (text_of(h) != s->text) return TRUE;
    if (s->want_visible_and_enabled && !(IsWindowVisible(h) && IsWindowEnabled(h))) return TRUE;
    s->found = h;
    return FALSE;
}

HWND find_descendant(HWND top, const wchar_t* text, bool usable) {
    ChildSearch search{text, usable, nullptr};
    EnumChildWindows(top, match_descendant, LPARAM(&search));
    return search.found;
}

BOOL CALLBACK match_edit_box(HWND h, LPARAM context) {
    wchar_t class_name[32] = {};
    GetClassNameW(h, class_name, 32);
    if (_wcsicmp(class_name, L"Edit") != 0 || !IsWindowVisible(h)) return TRUE;
    *reinterpret_cast<HWND*>(context) = h;
    return FALSE;
}

HWND find_edit_box(HWND top) {
    HWND found = nullptr;
    EnumChildWindows(top, match_edit_box, LPARAM(&found));
    return found;
}

template <class Found>
auto wait_for(const Process& p, Found found, double limit_ms = give_up_ms) -> decltype(found()) {
    for (;;) {
        if (auto h = found()) return h;
        if (!p.alive_after_pause() || p.elapsed_ms() > limit_ms) return {};
    }
}

void click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void report(double ms) { std::printf("elapsed_ms: %.3f\n", ms); }
// A step on the way, so that a slow install can be broken down.
void mark(const char* step, double ms) { std::printf("mark_ms: %s %.3f\n", step, ms); }

int fail(const char* what, int code = 1) {
    std::fprintf(stderr, "gui_driver: %s\n", what);
    return code;
}

std::string quoted(const char* s) { return std::string("\"") + s + "\""; }

int window_shown(const char* program) {
    Process p(quoted(program));
    if (!p.started()) return fail("cannot start the program");
    HWND top = wait_for(p, [&] { return visible_top_window(p.id()); });
    double ms = p.elapsed_ms();
    if (!top) return fail("no window was shown");
    report(ms);
    PostMessageW(top, WM_CLOSE, 0, 0);
    return p.wait_for_exit(10000) ? 0 : fail("the program did not end when its window was closed");
}

int gui_install(const char* program, const char* folder) {
    Process p(quoted(program));
    if (!p.started()) return fail("cannot start the setup");
    HWND top = wait_for(p, [&] { return visible_top_window(p.id()); });
    if (!top) return fail("the setup showed no window");
    mark("window", p.elapsed_ms());
    HWND next = wait_for(p, [&] { return find_descendant(top, L"下一步", true); }, no_wizard_ms);
    if (!next) return fail("the setup shows no Next button", no_wizard);
    mark("next", p.elapsed_ms());
    click(next);
    HWND install = wait_for(p, [&] { return find_descendant(top, L"安装", true); }, no_wizard_ms);
    if (!install) return fail("the setup shows no Install button after Next", no_wizard);
    mark("install", p.elapsed_ms());
    HWND box = find_edit_box(top);
    if (!box) return fail("no install folder box");
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(box, WM_SETTEXT, 0, LPARAM(folder), SMTO_NORMAL, 10000, &ignored))
        return fail("the install folder could not be set");
    click(install);
    // The finish page's headline when the labels are windows of their own;
    // otherwise Done, which the install enables just before it turns the page.
    bool headline = find_descendant(top, L"您已成功安装", false) != nullptr;
    HWND finish = wait_for(p, [&] { return find_descendant(top, headline ? L"您已成功安装" : L"完成", true); });
    double ms = p.elapsed_ms();
    if (!finish) return fail("the finish page did not show");
    mark("finish", ms);
    report(ms);
    if (HWND done = find_descendant(top, L"完成", true)) click(done);
    if (!p.wait_for_exit(10000)) return fail("the setup did not end after Done");
    return p.exit_code() == 0 ? 0 : fail("the setup ended with an exit code other than 0");
}

int run_to_end(int argc, char** argv) {
    std::string command = quoted(argv[0]);
    for (int i = 1; i < argc; ++i) command += std::string(" ") + argv[i];
    Process p(command);
    if (!p.started()) return fail("cannot start the program");
    if (!p.wait_for_exit(DWORD(give_up_ms))) return fail("the program did not end");
    report(p.elapsed_ms());
    std::printf("exit_code: %lu\n", p.exit_code());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "window" && argc == 3) return window_shown(argv[2]);
    if (mode == "install" && argc == 4) return gui_install(argv[2], argv[3]);
    if (mode == "run" && argc >= 3) return run_to_end(argc - 2, argv + 2);
    std::fprintf(stderr, "usage: gui_driver window PROGRAM | install PROGRAM FOLDER | run PROGRAM [ARGUMENTS...]\n");
    return 2;
}
