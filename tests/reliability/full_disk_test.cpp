// The real setup installing onto a drive that fills up. The drive is a small
// RAM disk that tests/reliability/full_disk.sh mounts and maps to a drive
// letter, named in QUORVANE_FULL_DISK; without it the test is skipped.
// Each case leaves so much room, installs, and expects the failure reported
// (message box naming the place and a full disk, the folder page back, no
// finish page, no desktop files) with no product file left that is not
// byte-identical to the product's; then frees the room and installs again.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "extract.h"
#include "services.h"
#include "setup_driver.h"
#include "setup_process.h"
#include "win32_files.h"

namespace quorvane::testing {
namespace {

const std::string setup_caption = "Quorvane V1.4 Setup";

std::string built(const std::string& relative) {
    std::string path = own_folder() + "\\" + relative;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string base_name(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

// The product's files by name, as the archive holds them.
std::map<std::string, std::string> product() {
    std::map<std::string, std::string> files;
    for (const char* relative : {PRODUCT_FILES}) {
        auto bytes = read_whole_file(built(relative));
        files[base_name(relative)] = bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
    }
    return files;
}

unsigned long long free_bytes(const std::string& root) {
    ULARGE_INTEGER available{};
    GetDiskFreeSpaceExA(root.c_str(), &available, nullptr, nullptr);
    return available.QuadPart;
}

// Takes all the drive's room but `leave` bytes.
void fill(const std::string& filler, unsigned long long leave) {
    HANDLE file = CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::string block(1 << 20, 'F');
    std::string root = filler.substr(0, 3);
    for (unsigned long long room; (room = free_bytes(root)) > leave;) {
        DWORD n = DWORD(std::min<unsigned long long>(block.size(), room - leave)), written = 0;
        if (!WriteFile(file, block.data(), n, &written, nullptr) || written == 0) break;
    }
    CloseHandle(file);
}

class RunningSetup {
public:
    RunningSetup() : process_(built(SETUP_PROGRAM), "", "") {}

    bool to_folder_page(const std::string& folder) {
        if (!process_.started() || !(window_ = process_.wait_for_window(setup_caption, 30000))) return false;
        next_ = find_descendant(window_, "Button", "下一步");
        install_ = find_descendant(window_, "Button", "安装");
        cancel_ = find_descendant(window_, "Button", "取消");
        edit_ = find_descendant(window_, "Edit", nullptr);
        if (!next_ || !install_ || !cancel_ || !edit_) return false;
        press(next_);
        if (!wait_until([&] { return on_folder_page(); })) return false;
        SendMessageA(edit_, WM_SETTEXT, 0, LPARAM(folder.c_str()));
        return window_text(edit_) == folder;
    }
    bool on_folder_page() const {
        return shown(edit_) && shown(install_) && IsWindowEnabled(install_) && IsWindowEnabled(cancel_);
    }
    bool on_finish_page() const { return !shown(edit_) && shown(cancel_) && window_text(cancel_) == "完成"; }
    void install() { press(install_); }
    // The message box's text once it shows, or nothing by the finish page.
    std::optional<std::string> wait_for_message() {
        HWND box = nullptr;
        wait_until([&] { return (box = find_message_box(process_.id())) != nullptr || on_finish_page(); }, 60000);
        if (!box) return std::nullopt;
        std::string text = message_box_text(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return text;
    }
    bool finish() {
        if (!wait_until([&] { return on_finish_page(); }, 60000)) return false;
        press(cancel_);
        auto code = process_.wait_for_exit(15000);
        return code && *code == 0;
    }
    bool leave() {
        press(cancel_);
        auto code = process_.wait_for_exit(15000);
        return code && *code == 0;
    }

private:
    static void press(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

    SetupProcess process_;
    HWND window_ = nullptr, next_ = nullptr, install_ = nullptr, cancel_ = nullptr, edit_ = nullptr;
};

// Sets an environment variable for the programs started meanwhile.
class Environment {
public:
    Environment(const char* name, const std::string& value) : name_(name) {
        char old[MAX_PATH] = {};
        had_ = GetEnvironmentVariableA(name, old, sizeof old) > 0;
        old_ = old;
        SetEnvironmentVariableA(name, value.c_str());
    }
    ~Environment() { SetEnvironmentVariableA(name_, had_ ? old_.c_str() : nullptr); }

private:
    const char* name_;
    bool had_;
    std::string old_;
};

// Writes that run out of room part way: the file system takes what fits and
// reports the rest as a short write; only the next write says the disk is
// full. Both writers must get that far, so the user is told the real cause.
TEST(FullDisk, WritesThatRunOutOfRoomSayDiskFull) {
    const char* drive = std::getenv("QUORVANE_FULL_DISK");
    if (!drive || !*drive) GTEST_SKIP() << "no RAM disk: run through full_disk.sh";
    const std::string root = std::string(drive) + "\\";
    const std::string filler = root + "filler.bin", file = root + "written.bin", folder = root + "unpacked";
    const std::string archive = built(PRODUCT_ARCHIVE);
    auto files = product();
    const std::vector<std::uint8_t> data(100000, 0x5A);
    for (unsigned long long leave : {0ull, 4096ull, 12288ull, 40960ull, 98304ull}) {
        SCOPED_TRACE("room left: " + std::to_string(leave));
        fill(filler, leave);
        SetLastError(0);
        EXPECT_FALSE(write_file(file, {ByteSpan(data.data(), data.size())}));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_DISK_FULL)) << "write_file";
        DeleteFileA(file.c_str());

        ExtractOutcome outcome = extract_archive(archive, folder);
        EXPECT_EQ(outcome.result, 0);
        EXPECT_EQ(outcome.cause, ExtractCause::disk_full) << describe(outcome.cause) << " at " << outcome.entry_name;
        for (const auto& [name, content] : files) {
            auto bytes = read_whole_file(folder + "\\" + name);
            if (!bytes) continue;
            EXPECT_TRUE(std::string(bytes->begin(), bytes->end()) == content) << name << " left corrupt";
        }
        remove_tree(folder);
        DeleteFileA(filler.c_str());
    }
}

struct Case {
    const char* what;
    unsigned long long leave;  // bytes left free on the drive
    bool temp_on_drive;        // the temp folder, and so the temporary copy, is there too
    bool retry_in_same_window;  // else the setup is run again
};

TEST(FullDisk, FailureIsReportedNothingCorruptStaysAndARerunSucceeds) {
    const char* drive = std::getenv("QUORVANE_FULL_DISK");
    if (!drive || !*drive) GTEST_SKIP() << "no RAM disk: run through full_disk.sh";
    const std::string root = std::string(drive) + "\\";
    const std::string filler = root + "filler.bin";
    const std::string folder = root + "Quorvane1.4";
    const std::string desktop = special_folder(SpecialFolder::desktop);
    const std::string link = desktop + "QuorvaneV1.4.lnk", launcher = desktop + "QuorvaneV1.4.bat";
    auto files = product();
    ASSERT_EQ(files.size(), 3u);
    const unsigned long long exe = files["Quorvane1.4.exe"].size();
    ASSERT_GT(exe, 100000u);
    std::printf("drive %s: %llu bytes free, product %zu + %zu + %llu bytes\n", drive, free_bytes(root),
                files["Quorvane.dat"].size(), files["QuorvaneCore.dll"].size(), exe);

    const Case cases[] = {
        {"no room at all", 0, false, true},
        {"room for the first files, not the executable", 64 * 1024, false, false},
        {"all but the executable's last pages", exe + 16 * 1024 - 12 * 1024, false, true},
        {"temporary copy on the full drive", 8 * 1024, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        remove_tree(folder);
        DeleteFileA(link.c_str());
        DeleteFileA(launcher.c_str());
        const std::string temp = root + "temp";
        CreateDirectoryA(temp.c_str(), nullptr);
        fill(filler, c.leave);
        std::optional<Environment> tmp, temp_variable;
        if (c.temp_on_drive) tmp.emplace("TMP", temp), temp_variable.emplace("TEMP", temp);

        auto setup = std::make_unique<RunningSetup>();
        ASSERT_TRUE(setup->to_folder_page(folder));
        setup->install();
        auto message = setup->wait_for_message();
        ASSERT_TRUE(message) << "the finish page came on a full disk";
        EXPECT_NE(message->find("磁盘空间不足"), std::string::npos) << *message;
        EXPECT_NE(message->find(c.temp_on_drive ? temp : folder), std::string::npos) << *message;
        EXPECT_TRUE(wait_until([&] { return setup->on_folder_page(); })) << "the folder page is not back";
        EXPECT_FALSE(setup->on_finish_page());
        EXPECT_FALSE(exists(link)) << "a shortcut to a product that is not there";
        EXPECT_FALSE(exists(launcher));
        std::map<std::string, std::string> left;
        for (const auto& [name, content] : files) {
            auto bytes = read_whole_file(folder + "\\" + name);
            if (!bytes) continue;
            left[name] = "";
            EXPECT_TRUE(std::string(bytes->begin(), bytes->end()) == content)
                << name << " left corrupt: " << bytes->size() << " of " << content.size() << " bytes";
        }
        std::printf("  %-48s message shown, %zu whole product file(s) left, nothing corrupt\n", c.what, left.size());

        // Room again: the user tries once more.
        DeleteFileA(filler.c_str());
        if (!c.retry_in_same_window) {
            EXPECT_TRUE(setup->leave());
            setup = std::make_unique<RunningSetup>();
            ASSERT_TRUE(setup->to_folder_page(folder));
        }
        setup->install();
        EXPECT_TRUE(setup->finish()) << "no finish page after room was made";
        for (const auto& [name, content] : files) {
            auto bytes = read_whole_file(folder + "\\" + name);
            ASSERT_TRUE(bytes) << name;
            EXPECT_TRUE(std::string(bytes->begin(), bytes->end()) == content) << name;
        }
        EXPECT_TRUE(exists(link));
        EXPECT_TRUE(exists(launcher));
        remove_tree(temp);
    }
    remove_tree(folder);
    DeleteFileA(link.c_str());
    DeleteFileA(launcher.c_str());
}

}  // namespace
}  // namespace quorvane::testing
