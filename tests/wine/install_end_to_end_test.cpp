// The real setup, driven under Wine as a user would: Next, a folder typed in,
// Install, then what is on disk, the Done button, and the launcher starting
// the installed product.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <thread>
#include <vector>

#include "../support/setup_driver.h"
#include "../support/setup_process.h"
#include "../support/shell_link_file.h"
#include "../support/win32_files.h"
#include "services.h"
#include "unzip.h"
// After unzip.h, which brings the declarations that it relies on.
#include "iowin32.h"

namespace quorvane {
namespace {

using testing::click;
using testing::ScratchFolder;
using testing::SetupProcess;
using testing::shown;
using testing::wait_until;
using testing::window_text;

using Bytes = std::vector<std::uint8_t>;

const std::string setup_caption = "Quorvane V1.4 Setup";
const std::string temporary_copy = special_folder(SpecialFolder::temp) + "\\ifisfisjfisfjisajhduosajfiasj.tmp";
const std::string desktop_link = special_folder(SpecialFolder::desktop) + "QuorvaneV1.4.lnk";
const std::string desktop_launcher = special_folder(SpecialFolder::desktop) + "QuorvaneV1.4.bat";

std::string built(const char* relative) {
    std::string path = testing::own_folder() + "\\" + relative;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string text_of(const std::optional<Bytes>& bytes) {
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
}

// One entry of the archive that the setup carries, read with minizip.
struct Entry {
    std::string name;
    Bytes data;
    FILETIME time;  // the entry's DOS date and time, taken as UTC
};

std::vector<Entry> archive_entries(const std::string& path) {
    zlib_filefunc64_def functions;
    fill_win32_filefunc64A(&functions);
    std::vector<Entry> entries;
    unzFile zip = unzOpen2_64(path.c_str(), &functions);
    if (!zip) return entries;
    for (int more = unzGoToFirstFile(zip); more == UNZ_OK; more = unzGoToNextFile(zip)) {
        unz_file_info64 info{};
        char name[512] = {};
        unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0);
        Entry entry{name, {}, {}};
        DosDateTimeToFileTime(HIWORD(info.dosDate), LOWORD(info.dosDate), &entry.time);
        unzOpenCurrentFile(zip);
        std::uint8_t buffer[16384];
        for (int got; (got = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0;)
            entry.data.insert(entry.data.end(), buffer, buffer + got);
        EXPECT_EQ(unzCloseCurrentFile(zip), UNZ_OK) << name;
        entries.push_back(std::move(entry));
    }
    unzClose(zip);
    return entries;
}

bool same_time(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

// The setup window and the controls a user touches.
struct RunningSetup {
    SetupProcess process{built(SETUP_PROGRAM), "", ""};
    HWND window = nullptr, next = nullptr, install = nullptr, cancel = nullptr, edit = nullptr, progress = nullptr;

    bool start() {
        if (!process.started()) return false;
        window = process.wait_for_window(setup_caption);
        if (!window) return false;
        next = testing::find_descendant(window, "Button", "下一步");
        install = testing::find_descendant(window, "Button", "安装");
        cancel = testing::find_descendant(window, "Button", "取消");
        edit = testing::find_descendant(window, "Edit", nullptr);
        progress = testing::find_descendant(window, PROGRESS_CLASSA, nullptr);
        return next && install && cancel && edit && progress;
    }
    int position() const { return int(SendMessageA(progress, PBM_GETPOS, 0, 0)); }
    bool on_folder_page() const { return shown(edit) && shown(install) && !shown(next) && !shown(progress); }
    bool on_finish_page() const {
        return !shown(edit) && !shown(install) && !shown(next) && !shown(progress) && window_text(cancel) == "完成";
    }
    HWND message_box() const { return testing::find_message_box(process.id()); }
};

// What the Cancel button and the progress bar went through, seen from outside.
class Watch {
public:
    explicit Watch(const RunningSetup& setup) : thread_([this, &setup] {
        while (!stop_) {
            bool enabled = IsWindowEnabled(setup.cancel) != FALSE;
            int position = setup.position();
            if (enabled != last_enabled_) states_.push_back(last_enabled_ = enabled);
            if (position != last_position_) positions_.push_back(last_position_ = position);
            Sleep(1);
        }
    }) {}
    ~Watch() { finish(); }
    void finish() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    const std::vector<bool>& cancel_enabled() const { return states_; }
    const std::vector<int>& positions() const { return positions_; }

private:
    std::atomic<bool> stop_{false};
    std::vector<bool> states_;
    std::vector<int> positions_;
    bool last_enabled_ = true;
    int last_position_ = 0;
    std::thread thread_;
};

void remove_desktop_files() {
    DeleteFileA(desktop_link.c_str());
    DeleteFileA(desktop_launcher.c_str());
}

std::string expected_launcher(const std::string& folder) {
    return "start \"\" \"" + folder + "\\Quorvane1.4.exe\"";
}

// The folder typed into the edit box, key by key; the keys reach the window
// a little after xdotool has sent them.
bool typed(const RunningSetup& setup, const std::string& folder) {
    return testing::type_into(setup.edit, folder) && wait_until([&] { return window_text(setup.edit) == folder; });
}

// Next, the folder typed in, Install; true once the finish page is shown.
bool install_into(RunningSetup& setup, const std::string& folder) {
    if (!click(setup.next) || !wait_until([&] { return setup.on_folder_page(); })) return false;
    if (!typed(setup, folder)) return false;
    if (!click(setup.install)) return false;
    return wait_until([&] { return setup.on_finish_page(); });
}

// What the file system reports for a file set to FILE_ATTRIBUTE_NORMAL: Wine
// shows every plain file as FILE_ATTRIBUTE_ARCHIVE.
DWORD normal_attributes() {
    ScratchFolder scratch("normal");
    std::string reference = scratch / "reference";
    testing::put_file(reference, "");
    SetFileAttributesA(reference.c_str(), FILE_ATTRIBUTE_NORMAL);
    return GetFileAttributesA(reference.c_str());
}

bool not_earlier(const FILETIME& a, const FILETIME& b) { return CompareFileTime(&a, &b) >= 0; }

void expect_product_installed(const std::string& folder) {
    std::vector<Entry> entries = archive_entries(built(PAYLOAD_ARCHIVE));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries.back().name, "Quorvane1.4.exe");
    const DWORD normal = normal_attributes();
    for (const Entry& entry : entries) {
        SCOPED_TRACE(entry.name);
        std::string path = folder + "\\" + entry.name;
        EXPECT_EQ(GetFileAttributesA(path.c_str()), normal);
        // Times first: reading the file could move its last-access time.
        HANDLE file = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        FILETIME created{}, accessed{}, written{};
        GetFileTime(file, &created, &accessed, &written);
        CloseHandle(file);
        EXPECT_TRUE(same_time(written, entry.time)) << "last-write time";
        if (entry.name == "Quorvane1.4.exe") {
            // The shell reads the shortcut's target when it makes the link,
            // after the extraction, which may move its last-access time on.
            EXPECT_TRUE(not_earlier(accessed, entry.time)) << "last-access time";
        } else {
            EXPECT_TRUE(same_time(accessed, entry.time)) << "last-access time";
        }
        EXPECT_TRUE(same_time(created, entry.time)) << "creation time";
        auto bytes = testing::read_whole_file(path);
        ASSERT_TRUE(bytes);
        EXPECT_TRUE(*bytes == entry.data) << "not byte-identical to the archive's entry";
    }
}

void expect_desktop_files_for(const std::string& folder) {
    std::string executable = folder + "\\Quorvane1.4.exe";
    EXPECT_EQ(text_of(testing::read_whole_file(desktop_launcher)), expected_launcher(folder));
    auto bytes = testing::read_whole_file(desktop_link);
    ASSERT_TRUE(bytes) << desktop_link;
    auto link = testing::parse_shell_link(*bytes);
    ASSERT_TRUE(link) << "not a shell link";
    EXPECT_EQ(link->target, executable);
    EXPECT_EQ(link->description, "Quorvane1.4");
    EXPECT_EQ(link->working_folder, folder);
    EXPECT_EQ(link->arguments, "");
    EXPECT_EQ(link->show_command, DWORD(SW_SHOW));
}

// A top-level window with this caption, from any process.
struct CaptionSearch {
    const std::string* caption;
    HWND found;
};
BOOL CALLBACK match_caption(HWND hwnd, LPARAM context) {
    auto* search = reinterpret_cast<CaptionSearch*>(context);
    if (IsWindowVisible(hwnd) && window_text(hwnd) == *search->caption) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
HWND find_any_window(const std::string& caption) {
    CaptionSearch search{&caption, nullptr};
    EnumWindows(match_caption, LPARAM(&search));
    return search.found;
}

// cmd /c on the launcher; true once the product's window is up. The product
// is closed again afterwards.
bool launcher_starts_product(const std::string& launcher) {
    std::string command = "cmd.exe /c \"" + launcher + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup{sizeof startup};
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    WaitForSingleObject(info.hProcess, 15000);
    CloseHandle(info.hProcess);

    HWND product = nullptr;
    bool appeared = wait_until([&] { return (product = find_any_window("Quorvane 1.4")) != nullptr; });
    if (product) {
        DWORD id = 0;
        GetWindowThreadProcessId(product, &id);
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
        PostMessageA(product, WM_CLOSE, 0, 0);
        if (process && WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
        if (process) CloseHandle(process);
    }
    return appeared;
}

TEST(WholeInstall, FromNextToTheLauncherStartingTheProduct) {
    ScratchFolder scratch("e2e");
    // Fresh, with missing parents, spaces and Chinese characters.
    const std::string folder = scratch / "新 文件夹\\第二 层\\Quorvane 1.4";
    remove_desktop_files();
    ASSERT_TRUE(testing::put_file(temporary_copy, "left by an earlier run"));

    RunningSetup setup;
    ASSERT_TRUE(setup.start());
    ASSERT_TRUE(click(setup.next));
    ASSERT_TRUE(wait_until([&] { return setup.on_folder_page(); }));
    ASSERT_TRUE(typed(setup, folder)) << "typing into the edit box gave " << window_text(setup.edit);

    Watch watch(setup);
    ASSERT_TRUE(click(setup.install));
    ASSERT_TRUE(wait_until([&] { return setup.on_finish_page(); })) << "no finish page";
    watch.finish();
    EXPECT_EQ(watch.cancel_enabled(), (std::vector<bool>{false, true})) << "Cancel disabled, then enabled again";
    ASSERT_FALSE(watch.positions().empty());
    EXPECT_EQ(watch.positions().back(), 100);
    for (std::size_t i = 1; i < watch.positions().size(); ++i) EXPECT_LT(watch.positions()[i - 1], watch.positions()[i]);
    EXPECT_EQ(setup.position(), 100);
    EXPECT_EQ(setup.message_box(), nullptr) << "no message on success";

    expect_product_installed(folder);
    EXPECT_TRUE(testing::read_whole_file(temporary_copy) == testing::read_whole_file(built(PAYLOAD_ARCHIVE)))
        << "the temporary copy is the built-in archive";
    expect_desktop_files_for(folder);

    ASSERT_TRUE(click(setup.cancel));  // now "完成"
    auto code = setup.process.wait_for_exit();
    ASSERT_TRUE(code) << "still running after Done";
    EXPECT_EQ(*code, 0u);

    EXPECT_TRUE(launcher_starts_product(desktop_launcher)) << "no Quorvane 1.4 window";
}

TEST(WholeInstall, AFailedInstallSaysWhyAndReturnsToTheFolderPage) {
    ScratchFolder scratch("e2e-fail");
    remove_desktop_files();

    struct Case {
        const char* what;
        std::string folder;       // typed into the edit box
        std::string cause;        // words the message must hold
        std::string kept_file;    // a file in the way that must stay as it was
    };
    const std::string blocker = scratch / "被 占用";
    ASSERT_TRUE(testing::put_file(blocker, "a file, not a folder"));
    const std::string read_only_folder = scratch / "只读 文件";
    ASSERT_TRUE(CreateDirectoryA(read_only_folder.c_str(), nullptr));
    const std::string read_only_exe = read_only_folder + "\\Quorvane1.4.exe";
    ASSERT_TRUE(testing::put_file(read_only_exe, "an older, read-only product"));
    ASSERT_TRUE(SetFileAttributesA(read_only_exe.c_str(), FILE_ATTRIBUTE_READONLY));

    const Case cases[] = {
        {"a file with the folder's name", blocker, "无法创建该文件夹", blocker},
        {"a file in the way of a parent folder", blocker + "\\Quorvane1.4", "无法创建该文件夹", blocker},
        {"a read-only product file in the way", read_only_folder, "文件 Quorvane1.4.exe 正在使用或为只读", read_only_exe},
        {"an empty edit box", "", "没有指定安装文件夹", ""},
    };

    RunningSetup setup;
    ASSERT_TRUE(setup.start());
    ASSERT_TRUE(click(setup.next));
    ASSERT_TRUE(wait_until([&] { return setup.on_folder_page(); }));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<Bytes> kept = c.kept_file.empty() ? std::nullopt : testing::read_whole_file(c.kept_file);
        ASSERT_TRUE(typed(setup, c.folder)) << window_text(setup.edit);
        ASSERT_TRUE(click(setup.install));

        HWND box = nullptr;
        ASSERT_TRUE(wait_until([&] { return (box = setup.message_box()) != nullptr; })) << "no message";
        EXPECT_EQ(GetWindow(box, GW_OWNER), setup.window) << "owned by the setup window";
        EXPECT_EQ(window_text(box), setup_caption);
        std::string message = testing::message_box_text(box);
        EXPECT_EQ(message.rfind("安装失败。", 0), 0u) << message;
        EXPECT_NE(message.find(c.cause), std::string::npos) << message;
        if (!c.folder.empty()) {
            EXPECT_NE(message.find("安装文件夹：" + c.folder + "\n"), std::string::npos) << message;
        }
        EXPECT_FALSE(IsWindowEnabled(setup.window)) << "the message is modal to the window";
        PostMessageA(box, WM_COMMAND, IDOK, 0);

        ASSERT_TRUE(wait_until([&] { return setup.on_folder_page(); })) << "not back on the folder page";
        EXPECT_TRUE(IsWindowEnabled(setup.install));
        EXPECT_TRUE(IsWindowEnabled(setup.cancel));
        EXPECT_EQ(window_text(setup.cancel), "取消");
        EXPECT_FALSE(testing::exists(desktop_link));
        EXPECT_FALSE(testing::exists(desktop_launcher));
        if (kept) {
            EXPECT_TRUE(testing::read_whole_file(c.kept_file) == kept) << "the file in the way was changed";
        }
    }

    // The same session can still install into a good folder.
    const std::string good = scratch / "好的 文件夹";
    ASSERT_TRUE(typed(setup, good)) << window_text(setup.edit);
    ASSERT_TRUE(click(setup.install));
    ASSERT_TRUE(wait_until([&] { return setup.on_finish_page(); })) << "no finish page after the failures";
    expect_product_installed(good);
    expect_desktop_files_for(good);
    ASSERT_TRUE(click(setup.cancel));
    auto code = setup.process.wait_for_exit();
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 0u);
}

TEST(WholeInstall, ASecondRunReplacesTheDesktopFilesAndTheTemporaryCopy) {
    ScratchFolder scratch("e2e-twice");
    const std::string first = scratch / "第一次", second = scratch / "第二次";
    for (const std::string& folder : {first, second}) {
        SCOPED_TRACE(folder);
        ASSERT_TRUE(testing::put_file(temporary_copy, "garbage from before this run"));
        RunningSetup setup;
        ASSERT_TRUE(setup.start());
        ASSERT_TRUE(install_into(setup, folder));
        ASSERT_TRUE(click(setup.cancel));
        auto code = setup.process.wait_for_exit();
        ASSERT_TRUE(code);
        EXPECT_EQ(*code, 0u);
        expect_desktop_files_for(folder);
        EXPECT_TRUE(testing::read_whole_file(temporary_copy) == testing::read_whole_file(built(PAYLOAD_ARCHIVE)));
    }
}

TEST(WholeInstall, ClosingTheWindowDuringTheInstallEndsTheProgramWithZero) {
    ScratchFolder scratch("e2e-esc");
    RunningSetup setup;
    ASSERT_TRUE(setup.start());
    ASSERT_TRUE(click(setup.next));
    ASSERT_TRUE(wait_until([&] { return setup.on_folder_page(); }));
    ASSERT_TRUE(typed(setup, scratch / "Quorvane1.4"));
    // The install takes well under a second here: the close box is pressed
    // the moment the worker has disabled Cancel, without the delay of a
    // host program in between.
    PostMessageA(setup.install, BM_CLICK, 0, 0);
    DWORD start = GetTickCount();
    while (IsWindowEnabled(setup.cancel) && GetTickCount() - start < 5000) {
    }
    ASSERT_FALSE(IsWindowEnabled(setup.cancel)) << "the install never started";
    PostMessageA(setup.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    auto code = setup.process.wait_for_exit(10000);
    ASSERT_TRUE(code) << "still running after the close";
    EXPECT_EQ(*code, 0u);
}

}  // namespace
}  // namespace quorvane
