#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include "../support/shell_link_file.h"
#include "../support/win32_files.h"
#include "launcher.h"
#include "shortcut.h"
#include "unique_handle.h"

namespace quorvane {
namespace {

using testing::ScratchFolder;

std::string file_text(const std::string& path) {
    auto bytes = testing::read_whole_file(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
}

// What the shell itself reads back from the file, as a cross-check of the parser.
struct LoadedLink {
    std::string path, working_folder, description;
};
std::optional<LoadedLink> load_link(const std::string& file) {
    IShellLinkA* raw = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&raw))))
        return std::nullopt;
    com_ptr<IShellLinkA> link(raw);
    IPersistFile* raw_file = nullptr;
    if (FAILED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&raw_file)))) return std::nullopt;
    com_ptr<IPersistFile> persist(raw_file);
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
    if (FAILED(persist.get()->Load(wide, STGM_READ))) return std::nullopt;
    char text[MAX_PATH] = {};
    LoadedLink loaded;
    link.get()->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    loaded.path = text;
    link.get()->GetWorkingDirectory(text, MAX_PATH);
    loaded.working_folder = text;
    link.get()->GetDescription(text, MAX_PATH);
    loaded.description = text;
    // The show command is checked in the file itself: Wine's loader does not hand it back.
    return loaded;
}

class ShortcutTest : public ::testing::Test {
protected:
    com_thread_scope com_;
};

TEST_F(ShortcutTest, WritesTargetDescriptionFolderAndShowCommandOverAnEarlierFile) {
    struct Case {
        const char* what;
        const char* folder;      // under the scratch folder
        bool earlier_file;       // something already at the link's name
        bool target_exists;
    };
    const Case cases[] = {
        {"plain, fresh", "q", false, true},
        {"spaces and Chinese, over garbage", "我的 程序\\Quorvane1.4", true, true},
        {"target not there yet", "later", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder scratch("shortcut");
        std::string folder = scratch / c.folder;
        std::string target = folder + "\\Quorvane1.4.exe";
        if (c.target_exists) {
            SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
            ASSERT_TRUE(testing::put_file(target, "MZ"));
        }
        std::string link_file = scratch / "QuorvaneV1.4.lnk";
        if (c.earlier_file) {
            ASSERT_TRUE(testing::put_file(link_file, std::string(4000, 'x')));
        }

        ASSERT_TRUE(create_shortcut({link_file, target, "Quorvane1.4", "", folder, SW_SHOW}));

        auto bytes = testing::read_whole_file(link_file);
        ASSERT_TRUE(bytes);
        auto link = testing::parse_shell_link(*bytes);
        ASSERT_TRUE(link) << "not a shell link";
        EXPECT_EQ(link->target, target);
        EXPECT_EQ(link->description, "Quorvane1.4");
        EXPECT_EQ(link->working_folder, folder);
        EXPECT_EQ(link->arguments, "");
        EXPECT_EQ(link->show_command, DWORD(SW_SHOW));

        auto loaded = load_link(link_file);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->path, target);
        EXPECT_EQ(loaded->working_folder, folder);
        EXPECT_EQ(loaded->description, "Quorvane1.4");
    }
}

TEST_F(ShortcutTest, FailsWhereTheFileCannotBeWritten) {
    ScratchFolder scratch("shortcut-fail");
    std::string target = scratch / "Quorvane1.4.exe";

    EXPECT_FALSE(create_shortcut({scratch / "missing\\QuorvaneV1.4.lnk", target, "Quorvane1.4", "", scratch.path(), SW_SHOW}));
    EXPECT_FALSE(testing::exists(scratch / "missing"));

    EXPECT_FALSE(create_shortcut({"", target, "Quorvane1.4", "", scratch.path(), SW_SHOW}));

    std::string held = scratch / "held.lnk";
    ASSERT_TRUE(testing::put_file(held, "kept"));
    HANDLE handle = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(create_shortcut({held, target, "Quorvane1.4", "", scratch.path(), SW_SHOW}));
    CloseHandle(handle);
    EXPECT_EQ(file_text(held), "kept");
}

TEST(Launcher, WritesExactlyTheLineOverALongerFile) {
    ScratchFolder scratch("launcher");
    std::string file = scratch / "QuorvaneV1.4.bat";
    ASSERT_TRUE(testing::put_file(file, std::string(300, 'x') + "\r\n"));
    const std::string line = "start \"\" \"C:\\我的 程序\\Quorvane1.4.exe\"";
    ASSERT_TRUE(write_launcher(file, line));
    EXPECT_EQ(file_text(file), line) << "GBK bytes, no zero, no line break, nothing left of the old file";

    EXPECT_FALSE(write_launcher(scratch / "missing\\QuorvaneV1.4.bat", line));
    EXPECT_FALSE(testing::exists(scratch / "missing"));
}

}  // namespace
}  // namespace quorvane
