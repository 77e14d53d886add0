// Drives the real QuorvaneSetup.exe on Wine's desktop: real key presses and
// clicks through xdotool, everything checked through Win32 calls on the
// program's windows from this process.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <set>
#include <vector>

#include "../support/setup_process.h"
#include "../support/win32_files.h"
#include "desktop.h"
#include "setup_controls.h"

namespace quorvane {
namespace {

using namespace control_id;
using testing::click;
using testing::focus_of;
using testing::press_keys;
using testing::wait_until;

const char caption[] = "Quorvane V1.4 Setup";

std::string setup_program() {
    std::string path = testing::own_folder() + "\\" SETUP_PROGRAM;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}
std::string setup_folder() {
    std::string program = setup_program();
    return program.substr(0, program.find_last_of('\\'));
}

// One setup process for one test, ended with it.
class RunningSetup {
public:
    RunningSetup() : process_(setup_program(), "", "") {
        window = process_.wait_for_window(caption);
        pages = window ? GetDlgItem(window, 选择夹1) : nullptr;
    }
    // Waits until the window has given the focus to its first control.
    bool ready() const {
        return window && pages && wait_until([&] { return focus_of(window) == control(按钮1); });
    }

    HWND control(int id) const {
        HWND on_window = GetDlgItem(window, id);
        return on_window ? on_window : GetDlgItem(pages, id);
    }
    int page() const { return int(SendMessageA(window, property_message::get_page, 0, 0)); }
    void write_page(int page) const { SendMessageA(window, property_message::set_page, WPARAM(page), 0); }
    bool focus_is(int id) const { return focus_of(window) == control(id); }
    std::optional<DWORD> wait_for_exit() const { return process_.wait_for_exit(); }
    bool running() const { return !process_.wait_for_exit(0); }

    HWND window = nullptr;
    HWND pages = nullptr;

private:
    testing::SetupProcess process_;
};

constexpr int on_window = -1;

struct ControlCase {
    const char* name;
    int id;
    int page;  // on_window, or the page index it belongs to
    const char* class_name;
    RECT rect;  // left, top, right, bottom in the parent's client area
    std::string text;
    DWORD type_mask, type;  // style bits that tell the kind apart
};

// What each control is, from the layout of the setup window.
const ControlCase control_cases[] = {
    {"图片框1", 图片框1, on_window, "QuorvanePictureBox", {8, 0, 64, 56}, "", 0, 0},
    {"选择夹1", 选择夹1, on_window, "QuorvanePageControl", {136, 40, 488, 264}, "", 0, 0},
    {"按钮2", 按钮2, on_window, "Button", {424, 216, 480, 240}, "取消", BS_TYPEMASK, BS_PUSHBUTTON},
    {"标签1", 标签1, 0, "Static", {16, 16, 104, 56}, "欢迎来到", SS_TYPEMASK | SS_CENTERIMAGE,
     SS_LEFTNOWORDWRAP | SS_CENTERIMAGE},
    {"标签2", 标签2, 0, "Static", {95, 13, 263, 53}, "QuorvaneV1.4", SS_TYPEMASK | SS_CENTERIMAGE,
     SS_LEFTNOWORDWRAP | SS_CENTERIMAGE},
    {"标签3", 标签3, 0, "Static", {256, 24, 296, 48}, "Setup", SS_TYPEMASK | SS_CENTERIMAGE,
     SS_LEFTNOWORDWRAP | SS_CENTERIMAGE},
    {"标签4", 标签4, 0, "Static", {16, 64, 320, 120},
     "此向导将帮助您完成 Quorvane 的安装。\r\n\r\n点击“下一步”进行下一步", SS_TYPEMASK | SS_CENTERIMAGE, SS_LEFT},
    {"按钮1", 按钮1, 0, "Button", {224, 176, 288, 200}, "下一步", BS_TYPEMASK, BS_DEFPUSHBUTTON},
    {"标签5", 标签5, 1, "Static", {16, 16, 136, 40}, "请选择安装位置：", SS_TYPEMASK | SS_CENTERIMAGE,
     SS_LEFTNOWORDWRAP | SS_CENTERIMAGE},
    {"编辑框1", 编辑框1, 1, "Edit", {16, 56, 312, 80}, "", ES_AUTOHSCROLL | ES_MULTILINE | ES_PASSWORD | ES_READONLY,
     ES_AUTOHSCROLL},
    {"按钮4", 按钮4, 1, "Button", {312, 56, 344, 80}, "...", BS_TYPEMASK, BS_PUSHBUTTON},
    {"标签6", 标签6, 1, "Static", {16, 88, 136, 112}, "至少需要10MB 的空间", SS_TYPEMASK | SS_CENTERIMAGE,
     SS_LEFTNOWORDWRAP | SS_CENTERIMAGE},
    {"按钮3", 按钮3, 1, "Button", {232, 176, 288, 200}, "安装", BS_TYPEMASK, BS_DEFPUSHBUTTON},
    {"标签7", 标签7, 2, "Static", {8, 24, 72, 48}, "正在安装", SS_TYPEMASK | SS_CENTERIMAGE,
     SS_LEFTNOWORDWRAP | SS_CENTERIMAGE},
    {"进度条1", 进度条1, 2, "msctls_progress32", {8, 72, 344, 96}, "", PBS_SMOOTH | PBS_VERTICAL, 0},
    {"标签8", 标签8, 3, "Static", {16, 8, 240, 56}, "您已成功安装", SS_TYPEMASK | SS_CENTERIMAGE,
     SS_LEFTNOWORDWRAP | SS_CENTERIMAGE},
    {"标签9", 标签9, 3, "Static", {24, 72, 136, 96}, "点击“完成”退出", SS_TYPEMASK | SS_CENTERIMAGE,
     SS_LEFTNOWORDWRAP | SS_CENTERIMAGE},
};

// Each page's controls from the top of the stacking order down.
const std::vector<int> stacking[] = {
    {标签4, 标签3, 标签2, 标签1, 按钮1},
    {按钮4, 标签6, 按钮3, 编辑框1, 标签5},
    {进度条1, 标签7},
    {标签9, 标签8},
};

// The controls shown right now (their parents too).
std::set<int> shown_controls(const RunningSetup& setup) {
    std::set<int> shown;
    for (const auto& c : control_cases) {
        if (IsWindowVisible(setup.control(c.id))) shown.insert(c.id);
    }
    return shown;
}

std::set<int> expected_shown(int page) {
    std::set<int> shown;
    for (const auto& c : control_cases) {
        if (c.page == on_window || c.page == page) shown.insert(c.id);
    }
    return shown;
}

// Where each window sits among its siblings, 0 at the top.
int z_position(HWND window) {
    int position = 0;
    for (HWND above = GetWindow(window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) ++position;
    return position;
}

TEST(SetupWindowGui, CaptionPlacementFrameAndIcon) {
    RunningSetup setup;
    ASSERT_TRUE(setup.ready());
    EXPECT_EQ(testing::text_of(setup.window), caption);

    RECT outer;
    GetWindowRect(setup.window, &outer);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - 507) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - 318) / 2;
    EXPECT_EQ(outer.left, x);
    EXPECT_EQ(outer.top, y);
    EXPECT_EQ(outer.right - outer.left, 507);
    EXPECT_EQ(outer.bottom - outer.top, 318);

    RECT client;
    GetClientRect(setup.window, &client);
    EXPECT_GE(client.right, 488);
    EXPECT_GE(client.bottom, 264);

    DWORD style = DWORD(GetWindowLongA(setup.window, GWL_STYLE));
    DWORD ex_style = DWORD(GetWindowLongA(setup.window, GWL_EXSTYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN),
              DWORD(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN));
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD | WS_POPUP), 0u) << "fixed size, no maximise";
    EXPECT_EQ(ex_style & WS_EX_TOOLWINDOW, 0u) << "listed in the task bar";
    EXPECT_EQ(GetWindow(setup.window, GW_OWNER), nullptr);
    EXPECT_EQ(GetMenu(setup.window), nullptr);
}

TEST(SetupWindowGui, ControlsClassRectTextStackingAndPages) {
    RunningSetup setup;
    ASSERT_TRUE(setup.ready());
    for (const auto& c : control_cases) {
        SCOPED_TRACE(c.name);
        HWND h = setup.control(c.id);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(GetParent(h), c.page == on_window ? setup.window : setup.pages);
        EXPECT_EQ(testing::class_of(h), c.class_name);
        RECT r = testing::rect_in_parent(h);
        EXPECT_EQ(r.left, c.rect.left);
        EXPECT_EQ(r.top, c.rect.top);
        EXPECT_EQ(r.right, c.rect.right);
        EXPECT_EQ(r.bottom, c.rect.bottom);
        EXPECT_EQ(testing::text_of(h), c.text);
        EXPECT_EQ(DWORD(GetWindowLongA(h, GWL_STYLE)) & c.type_mask, c.type);
        EXPECT_TRUE(IsWindowEnabled(h));
    }
    EXPECT_TRUE(GetWindowLongA(setup.control(编辑框1), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(SendMessageA(setup.control(进度条1), PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageA(setup.control(进度条1), PBM_GETRANGE, FALSE, 0), 100);
    EXPECT_EQ(SendMessageA(setup.control(进度条1), PBM_GETPOS, 0, 0), 0);

    // Cancel lies over the page control, and the row of buttons meets
    // without a gap: Next or Install end where Cancel begins.
    EXPECT_LT(z_position(setup.control(按钮2)), z_position(setup.pages));
    for (int id : {按钮1, 按钮3}) {
        RECT r;
        GetWindowRect(setup.control(id), &r);
        MapWindowPoints(nullptr, setup.window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.right, 424);
        EXPECT_EQ(r.top, 216);
        EXPECT_EQ(r.bottom, 240);
    }
    for (const auto& order : stacking) {
        for (std::size_t i = 1; i < order.size(); ++i) {
            EXPECT_LT(z_position(setup.control(order[i - 1])), z_position(setup.control(order[i])))
                << order[i - 1] << " above " << order[i];
        }
    }

    // Every page shows its own controls and the window's, nothing else.
    EXPECT_EQ(shown_controls(setup), expected_shown(0));
    for (int page = 0; page < 7; ++page) {
        SCOPED_TRACE(page);
        setup.write_page(page);
        EXPECT_EQ(setup.page(), page);
        EXPECT_EQ(shown_controls(setup), expected_shown(page));
    }
}

TEST(SetupWindowGui, PageWritesAreClampedAndReadBack) {
    RunningSetup setup;
    ASSERT_TRUE(setup.ready());
    struct Case {
        int write, read;
    };
    const Case cases[] = {{1, 1}, {1, 1}, {3, 3}, {-5, 0}, {9, 6}, {2, 2}, {7, 6}, {-1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.write);
        setup.write_page(c.write);
        EXPECT_EQ(setup.page(), c.read);
        EXPECT_EQ(shown_controls(setup), expected_shown(c.read));
    }
}

TEST(SetupWindowGui, ProgressPositionIsClamped) {
    RunningSetup setup;
    ASSERT_TRUE(setup.ready());
    setup.write_page(2);
    struct Case {
        int write, shown;
    };
    const Case cases[] = {{20, 20}, {150, 100}, {-5, 0}, {70, 70}, {100, 100}, {0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.write);
        SendMessageA(setup.window, property_message::set_progress, WPARAM(c.write), 0);
        EXPECT_EQ(SendMessageA(setup.control(进度条1), PBM_GETPOS, 0, 0), c.shown);
    }
}

constexpr int no_control = 0;

TEST(SetupWindowGui, TabAndShiftTabWalkTheFocusOrderOverShownEnabledControls) {
    RunningSetup setup;
    ASSERT_TRUE(setup.ready());
    struct Step {
        const char* what;
        int write_page;  // -1: stay
        bool disable_cancel;
        const char* keys;
        int focus;
    };
    const Step steps[] = {
        {"welcome: Tab", -1, false, "Tab", 按钮2},
        {"welcome: Tab wraps", -1, false, "Tab", 按钮1},
        {"welcome: Shift+Tab wraps back", -1, false, "shift+Tab", 按钮2},
        {"folder page: after Cancel comes ...", 1, false, "Tab", 按钮4},
        {"folder page: wraps to the edit box", -1, false, "Tab", 编辑框1},
        {"folder page: Install", -1, false, "Tab", 按钮3},
        {"folder page: Cancel", -1, false, "Tab", 按钮2},
        {"folder page: Shift+Tab", -1, false, "shift+Tab", 按钮3},
        {"progress page: only Cancel", 2, false, "Tab", 按钮2},
        {"progress page: stays on Cancel", -1, false, "Tab", 按钮2},
        {"progress page, Cancel disabled: nowhere", -1, true, "Tab", no_control},
        {"empty page: Cancel again once enabled", 5, false, "shift+Tab", 按钮2},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        if (s.write_page >= 0) setup.write_page(s.write_page);
        SendMessageA(setup.window, property_message::set_disabled, 按钮2, s.disable_cancel);
        ASSERT_TRUE(press_keys(s.keys));
        if (s.focus == no_control) {
            Sleep(400);
            for (int id : {按钮1, 编辑框1, 按钮3, 按钮2, 按钮4}) EXPECT_FALSE(setup.focus_is(id)) << id;
        } else {
            EXPECT_TRUE(wait_until([&] { return setup.focus_is(s.focus); }));
        }
    }
}

std::string default_folder() {
    char appdata[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, appdata, CSIDL_APPDATA, FALSE);
    return std::string(appdata) + "\\Quorvane1.4";
}

TEST(SetupWindowGui, EnterClicksOnlyAFocusedNextOrInstallAndNextMakesTheDefaultFolder) {
    const std::string folder = default_folder();
    testing::remove_tree(folder);
    ASSERT_FALSE(testing::exists(folder));
    // Under Wine the user's roaming folder is C:\users\<user>\AppData\Roaming.
    EXPECT_EQ(folder.rfind("C:\\users\\", 0), 0u) << folder;
    EXPECT_NE(folder.find("\\AppData\\Roaming\\Quorvane1.4"), std::string::npos) << folder;

    RunningSetup setup;
    ASSERT_TRUE(setup.ready());
    // Enter with the focus on Cancel, or on the progress or finish page, must
    // not reach Install (whose stand-in would turn the page) nor Next.
    struct Case {
        const char* what;
        int page;
    };
    const Case idle[] = {{"welcome, focus on Cancel", 0}, {"progress page", 2}, {"finish page", 3}};
    ASSERT_TRUE(press_keys("Tab"));
    ASSERT_TRUE(wait_until([&] { return setup.focus_is(按钮2); }));
    for (const auto& c : idle) {
        SCOPED_TRACE(c.what);
        setup.write_page(c.page);
        ASSERT_TRUE(press_keys("Return"));
        Sleep(400);
        EXPECT_EQ(setup.page(), c.page);
        EXPECT_TRUE(setup.running());
    }
    EXPECT_FALSE(testing::exists(folder));

    setup.write_page(0);
    ASSERT_TRUE(press_keys("Tab"));
    ASSERT_TRUE(wait_until([&] { return setup.focus_is(按钮1); }));
    ASSERT_TRUE(press_keys("Return"));
    EXPECT_TRUE(wait_until([&] { return setup.page() == 1; }));
    EXPECT_TRUE(wait_until([&] { return testing::text_of(setup.control(编辑框1)) == folder; }))
        << testing::text_of(setup.control(编辑框1));
    EXPECT_TRUE(testing::is_folder(folder));
    EXPECT_EQ(shown_controls(setup), expected_shown(1));
}

TEST(SetupWindowGui, EscClosesWithExitCodeZeroOnWelcomeAndProgressPages) {
    struct Case {
        const char* what;
        int page;
        bool cancel_disabled;
    };
    const Case cases[] = {{"welcome page", 0, false}, {"progress page, Cancel disabled", 2, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RunningSetup setup;
        ASSERT_TRUE(setup.ready());
        setup.write_page(c.page);
        SendMessageA(setup.window, property_message::set_disabled, 按钮2, c.cancel_disabled);
        ASSERT_TRUE(press_keys("Escape"));
        auto code = setup.wait_for_exit();
        ASSERT_TRUE(code);
        EXPECT_EQ(*code, 0u);
    }
}

TEST(SetupWindowGui, CancelClickEndsWithExitCodeZero) {
    RunningSetup setup;
    ASSERT_TRUE(setup.ready());
    ASSERT_TRUE(click(setup.control(按钮2)));
    auto code = setup.wait_for_exit();
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 0u);
}

// The Save-As dialog that the setup window owns, once it is up.
HWND wait_for_file_dialog(const RunningSetup& setup) {
    HWND found = nullptr;
    wait_until([&] {
        HWND candidate = GetWindow(setup.window, GW_HWNDFIRST);
        for (; candidate; candidate = GetWindow(candidate, GW_HWNDNEXT)) {
            if (GetWindow(candidate, GW_OWNER) == setup.window && IsWindowVisible(candidate) &&
                testing::class_of(candidate) == "#32770") {
                found = candidate;
                return true;
            }
        }
        return false;
    });
    return found;
}

struct EditSearch {
    const std::string* text;
    HWND found;
};

BOOL CALLBACK match_edit(HWND h, LPARAM l) {
    auto* search = reinterpret_cast<EditSearch*>(l);
    if (testing::class_of(h) == "Edit" && testing::text_of(h) == *search->text) {
        search->found = h;
        return FALSE;
    }
    return TRUE;
}

HWND child_edit_with_text(HWND dialog, const std::string& text) {
    EditSearch search{&text, nullptr};
    EnumChildWindows(dialog, match_edit, LPARAM(&search));
    return search.found;
}

TEST(SetupWindowGui, BrowseOffersQuorvane14TakesTheChosenNameAndCancelChangesNothing) {
    RunningSetup setup;
    ASSERT_TRUE(setup.ready());
    ASSERT_TRUE(press_keys("Return"));  // Next: the version text becomes "1.4"
    ASSERT_TRUE(wait_until([&] { return setup.page() == 1; }));
    const std::string default_text = testing::text_of(setup.control(编辑框1));
    const std::string stray = setup_folder() + "\\Quorvane1.4";
    testing::remove_tree(stray);

    // Cancel: no folder made next to the program, the edit box as it was,
    // and the focus back on the button that opened the dialog.
    ASSERT_TRUE(click(setup.control(按钮4)));
    HWND dialog = wait_for_file_dialog(setup);
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(child_edit_with_text(dialog, "Quorvane1.4"), nullptr) << "the initial file name";
    ASSERT_TRUE(press_keys("Escape"));
    ASSERT_TRUE(wait_until([&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(setup.running()) << "Esc in the dialog closes only the dialog";
    EXPECT_TRUE(wait_until([&] { return setup.focus_is(按钮4); }));
    EXPECT_EQ(testing::text_of(setup.control(编辑框1)), default_text);
    EXPECT_FALSE(testing::exists(stray));

    // OK: the name typed is the install folder, made at once.
    testing::ScratchFolder scratch("browse");
    const std::string chosen = scratch / "选定的目录";
    ASSERT_TRUE(click(setup.control(按钮4)));
    dialog = wait_for_file_dialog(setup);
    ASSERT_NE(dialog, nullptr);
    HWND name_box = child_edit_with_text(dialog, "Quorvane1.4");
    ASSERT_NE(name_box, nullptr);
    SendMessageA(name_box, WM_SETTEXT, 0, LPARAM(chosen.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDOK)));
    ASSERT_TRUE(wait_until([&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(wait_until([&] { return testing::text_of(setup.control(编辑框1)) == chosen; }))
        << testing::text_of(setup.control(编辑框1));
    EXPECT_TRUE(testing::is_folder(chosen));
    EXPECT_EQ(setup.page(), 1);
}

// The window's client area as it is on the screen, one COLORREF a pixel.
class ClientPixels {
public:
    explicit ClientPixels(HWND window) {
        RECT client;
        GetClientRect(window, &client);
        width_ = client.right;
        height_ = client.bottom;
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width_, -height_, 1, 32, BI_RGB};
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width_, height_, screen, origin.x, origin.y, SRCCOPY);
        const auto* pixels = static_cast<const std::uint8_t*>(bits);
        for (int i = 0; i < width_ * height_; ++i)
            pixels_.push_back(RGB(pixels[i * 4 + 2], pixels[i * 4 + 1], pixels[i * 4]));
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }
    COLORREF at(int x, int y) const { return pixels_[std::size_t(y * width_ + x)]; }
    // How many pixels of the rectangle (client coordinates) have the colour.
    int count(RECT r, COLORREF colour) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += at(x, y) == colour;
        return n;
    }

private:
    int width_ = 0, height_ = 0;
    std::vector<COLORREF> pixels_;
};

bool dark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 100; }

std::string screenshot_path(const char* name) {
    return testing::own_folder() + "\\screenshots\\" + name + ".png";
}

// Pauses until the setup has painted what the last change asked for.
void let_it_paint(const RunningSetup& setup) {
    SendMessageA(setup.window, WM_NULL, 0, 0);
    Sleep(400);
}

TEST(SetupWindowGui, PaintsPicturesAndOpaqueLabelsAndKeepsAScreenshotOfEachPage) {
    RunningSetup setup;
    ASSERT_TRUE(setup.ready());
    let_it_paint(setup);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    {
        ClientPixels pixels(setup.window);
        // The background picture on the window, outside the page control.
        EXPECT_TRUE(dark(pixels.at(70, 150))) << std::hex << pixels.at(70, 150);
        EXPECT_TRUE(dark(pixels.at(300, 20))) << std::hex << pixels.at(300, 20);
        // The page control's plain rectangle between the controls.
        EXPECT_EQ(pixels.at(136 + 200, 40 + 150), face);
        // The logo: transparent corners flattened onto the window colour,
        // the mark itself drawn.
        EXPECT_EQ(pixels.at(8, 0), face);
        EXPECT_LT(pixels.count({8, 0, 64, 56}, face), 56 * 56 * 9 / 10);
        // 标签2's text is blue; its opaque rectangle hides 标签1 beneath it.
        EXPECT_GT(pixels.count({136 + 95, 40 + 13, 136 + 256, 40 + 53}, RGB(0, 0, 255)), 50);
        EXPECT_EQ(pixels.count({136 + 256, 40 + 24, 136 + 263, 40 + 48}, RGB(0, 0, 255)), 0)
            << "标签3 lies over 标签2's last seven columns";
    }
    EXPECT_TRUE(testing::save_screenshot(screenshot_path("page1-welcome")));

    ASSERT_TRUE(press_keys("Return"));
    ASSERT_TRUE(wait_until([&] { return setup.page() == 1; }));
    let_it_paint(setup);
    EXPECT_TRUE(testing::save_screenshot(screenshot_path("page2-folder")));

    setup.write_page(2);
    SendMessageA(setup.window, property_message::set_progress, 40, 0);
    let_it_paint(setup);
    {
        ClientPixels pixels(setup.window);
        // Page 2's controls are gone: where the edit box stood is the page's face.
        EXPECT_EQ(pixels.count({136 + 16, 40 + 56, 136 + 312, 40 + 70}, face), 296 * 14);
    }
    EXPECT_TRUE(testing::save_screenshot(screenshot_path("page3-progress")));

    setup.write_page(3);
    SendMessageA(setup.control(按钮2), WM_SETTEXT, 0, LPARAM("完成"));
    let_it_paint(setup);
    EXPECT_TRUE(testing::save_screenshot(screenshot_path("page4-finish")));
}

}  // namespace
}  // namespace quorvane
