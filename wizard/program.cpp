#include "program.h"

#include <ole2.h>

#include <new>

#include "at_exit.h"
#include "dbcs_path.h"
#include "page_handlers.h"
#include "services.h"
#include "setup_window.h"
#include "version_text.h"

namespace quorvane {

namespace {

void make_program_folder_current() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return;
    std::string folder = folder_of(path, system_lead_byte);
    // A program at a drive's root ("C:\setup.exe") keeps the root itself.
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    SetCurrentDirectoryA(folder.c_str());
}

[[noreturn]] void shut_down(int code) {
    at_exit_routines().run_once();
    OleUninitialize();
    ExitProcess(UINT(code));
}

}  // namespace

void exit_program(int code) { shut_down(code); }

void fail_program(const char* message) {
    MessageBoxA(nullptr, message, "Quorvane V1.4 Setup", MB_OK | MB_ICONERROR);
    ExitProcess(UINT(-1));
}

void run_setup(HINSTANCE instance, int show_command, InstallHandler on_install) {
    std::set_new_handler([] { fail_program("内存不足，安装程序无法继续。"); });
    OleInitialize(nullptr);
    make_program_folder_current();
    at_exit_routines().add(release_version_text);

    std::unique_ptr<SetupWindow> window =
        SetupWindow::create(instance, {on_next_clicked, on_browse_clicked, on_install, on_cancel_clicked});
    if (!window) fail_program("无法创建安装窗口。");
    window->on_created();
    window->show(show_command);

    MSG message;
    int code = 0;
    for (;;) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            code = int(message.wParam);
            break;
        }
        if (got == -1) break;
        if (window->pre_translate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    shut_down(code);
}

}  // namespace quorvane
