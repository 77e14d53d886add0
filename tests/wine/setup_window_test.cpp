// The setup window created inside the test: its properties written from a
// second thread, its fonts and label colours, the Enter rule, with handlers
// that only record what was clicked.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "setup_window.h"

namespace quorvane {
namespace {

using namespace control_id;

std::string clicked;
void record_next(SetupControls&) { clicked += "next"; }
void record_browse(SetupControls&) { clicked += "browse"; }
void record_install(SetupControls&) { clicked += "install"; }
void record_cancel(SetupControls&) { clicked += "cancel"; }

std::string text_of(HWND h) {
    char text[512] = {};
    GetWindowTextA(h, text, sizeof text);
    return text;
}

class SetupWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = SetupWindow::create(GetModuleHandleA(nullptr),
                                      {record_next, record_browse, record_install, record_cancel});
        ASSERT_TRUE(window_);
        window_->show(SW_SHOWNORMAL);
        pump();
        clicked.clear();
    }
    void TearDown() override { window_.reset(); }

    void pump() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT || window_->pre_translate(message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    HWND control(int id) const {
        HWND on_window = GetDlgItem(window_->hwnd(), id);
        return on_window ? on_window : GetDlgItem(GetDlgItem(window_->hwnd(), 选择夹1), id);
    }
    SetupControls& controls() { return window_->controls(); }

    std::unique_ptr<SetupWindow> window_;
};

TEST_F(SetupWindowTest, PropertiesWrittenFromAnotherThreadHaveTakenEffectWhenTheCallReturns) {
    // Each write is followed at once by a look at the control itself; a
    // write that were merely queued would not be seen yet.
    std::vector<std::string> failures;
    auto check = [&](bool ok, const char* what) {
        if (!ok) failures.push_back(what);
    };
    SetupControls& c = controls();
    HWND edit = control(编辑框1), next = control(按钮1), cancel = control(按钮2), bar = control(进度条1);
    bool done = false;
    std::thread worker([&] {
        c.选择夹1.set_current_page(1);
        check(IsWindowVisible(edit) && !IsWindowVisible(next), "page 2 shown");
        check(c.选择夹1.current_page() == 1, "page read back");
        c.编辑框1.set_text("D:\\安装\\Quorvane1.4");
        check(text_of(edit) == "D:\\安装\\Quorvane1.4", "edit box text");
        check(c.编辑框1.text() == "D:\\安装\\Quorvane1.4", "edit box read back");
        c.选择夹1.set_current_page(9);
        check(!IsWindowVisible(edit) && c.选择夹1.current_page() == 6, "page 7, clamped");
        c.按钮2.set_disabled(true);
        check(!IsWindowEnabled(cancel), "Cancel disabled");
        c.进度条1.set_position(70);
        check(SendMessageA(bar, PBM_GETPOS, 0, 0) == 70, "progress 70");
        c.进度条1.set_position(150);
        check(SendMessageA(bar, PBM_GETPOS, 0, 0) == 100, "progress clamped to 100");
        c.按钮2.set_disabled(false);
        c.按钮2.set_caption("完成");
        check(IsWindowEnabled(cancel) && text_of(cancel) == "完成", "Done button");
        c.通用对话框1.set_file_name("Quorvane1.4");
        check(c.通用对话框1.file_name() == "Quorvane1.4", "file name");
        done = true;
        PostMessageA(window_->hwnd(), WM_NULL, 0, 0);
    });
    while (!done) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        pump();
    }
    worker.join();
    EXPECT_TRUE(failures.empty()) << ::testing::PrintToString(failures);
}

TEST_F(SetupWindowTest, LabelFontsAreEmHeightsAndLabel2IsBlueOnTheWindowColour) {
    struct Case {
        const char* what;
        int id;
        LONG height;  // 0: the default GUI font
        LONG weight;
        COLORREF text;
    };
    const Case cases[] = {
        {"标签1", 标签1, -19, FW_NORMAL, RGB(0, 0, 0)}, {"标签2", 标签2, -24, FW_BOLD, RGB(0, 0, 255)},
        {"标签8", 标签8, -29, FW_BOLD, RGB(0, 0, 0)},   {"标签4", 标签4, 0, 0, RGB(0, 0, 0)},
        {"标签6", 标签6, 0, 0, RGB(0, 0, 0)},
    };
    HWND pages = control(选择夹1);
    HDC dc = CreateCompatibleDC(nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HFONT font = HFONT(SendMessageA(control(c.id), WM_GETFONT, 0, 0));
        if (c.height == 0) {
            EXPECT_EQ(font, GetStockObject(DEFAULT_GUI_FONT));
        } else {
            LOGFONTA logfont{};
            ASSERT_TRUE(GetObjectA(font, sizeof logfont, &logfont));
            EXPECT_EQ(logfont.lfHeight, c.height) << "negative: an em height";
            EXPECT_EQ(logfont.lfWeight, c.weight);
        }
        // What the label is told to paint with.
        HBRUSH brush = HBRUSH(SendMessageA(pages, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(control(c.id))));
        LOGBRUSH logbrush{};
        ASSERT_TRUE(GetObjectA(brush, sizeof logbrush, &logbrush));
        EXPECT_EQ(logbrush.lbColor, GetSysColor(COLOR_BTNFACE));
        EXPECT_EQ(GetTextColor(dc), c.text);
        EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    }
    DeleteDC(dc);
    for (int id : {按钮1, 按钮2, 按钮3, 按钮4, 编辑框1}) {
        EXPECT_EQ(HFONT(SendMessageA(control(id), WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT)) << id;
    }
}

TEST_F(SetupWindowTest, TheProgramsIconIsTheWindowsLargeAndSmallIcon) {
    // This test program carries the setup program's resources.
    for (WPARAM which : {ICON_BIG, ICON_SMALL}) {
        SCOPED_TRACE(which);
        HICON icon = HICON(SendMessageA(window_->hwnd(), WM_GETICON, which, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour{};
        ASSERT_TRUE(GetObjectA(info.hbmColor, sizeof colour, &colour));
        EXPECT_EQ(colour.bmWidth, 32);
        EXPECT_EQ(colour.bmHeight, 32);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

TEST_F(SetupWindowTest, EnterClicksOnlyAShownEnabledDefaultButtonThatHasTheFocus) {
    constexpr int the_window = 0;
    struct Case {
        const char* what;
        int page;
        int focus;
        const char* clicked;
    };
    const Case cases[] = {
        {"welcome, Next", 0, 按钮1, "next"},
        {"welcome, Cancel", 0, 按钮2, ""},
        {"welcome, the window itself", 0, the_window, ""},
        {"folder, Install", 1, 按钮3, "install"},
        {"folder, edit box", 1, 编辑框1, ""},
        {"folder, browse", 1, 按钮4, ""},
        {"progress, Cancel", 2, 按钮2, ""},
        {"progress, the window itself", 2, the_window, ""},
        {"finish, Cancel", 3, 按钮2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        controls().选择夹1.set_current_page(c.page);
        SetFocus(c.focus == the_window ? window_->hwnd() : control(c.focus));
        clicked.clear();
        MSG enter{GetFocus(), WM_KEYDOWN, VK_RETURN, 0x001C0001};
        EXPECT_TRUE(window_->pre_translate(enter));
        pump();
        EXPECT_EQ(clicked, c.clicked);
        EXPECT_EQ(controls().选择夹1.current_page(), c.page);
    }

    // Next keeps the focus while its page goes away: Enter must not click
    // a button that is no longer shown.
    controls().选择夹1.set_current_page(0);
    SetFocus(control(按钮1));
    controls().选择夹1.set_current_page(1);
    clicked.clear();
    MSG enter{GetFocus(), WM_KEYDOWN, VK_RETURN, 0x001C0001};
    window_->pre_translate(enter);
    EXPECT_EQ(clicked, "");
}

TEST_F(SetupWindowTest, DisablingTheFocusedCancelLeavesTheKeysWithTheWindow) {
    controls().选择夹1.set_current_page(2);
    SetFocus(control(按钮2));
    controls().按钮2.set_disabled(true);
    EXPECT_EQ(GetFocus(), window_->hwnd());
    // Esc still reaches the window as an ordinary key and asks it to close.
    MSG escape{GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001};
    EXPECT_TRUE(window_->pre_translate(escape));
    MSG posted{};
    EXPECT_TRUE(PeekMessageA(&posted, window_->hwnd(), WM_CLOSE, WM_CLOSE, PM_REMOVE));
}

}  // namespace
}  // namespace quorvane
