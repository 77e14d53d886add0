#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "../support/setup_process.h"
#include "../support/win32_files.h"
#include "archive_copy.h"
#include "builtin_archive.h"
#include "data_module.h"

// Files the build puts beside this program: the archive the setup carries,
// the setup program itself and the product's three files.
#define PAYLOAD_FILES "payload_files\\"

namespace quorvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::ScratchFolder;
using testing::SetupProcess;

Bytes must_read(const std::string& path) {
    auto bytes = testing::read_whole_file(path);
    EXPECT_TRUE(bytes) << path;
    return bytes ? *bytes : Bytes{};
}

std::string beside_me(const std::string& name) { return testing::own_folder() + "\\" PAYLOAD_FILES + name; }

Bytes embedded_archive() { return must_read(beside_me("embedded.zip")); }

bool contains(const Bytes& haystack, ByteSpan needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

TEST(BuiltInArchive, IsAByteArrayValueHoldingTheArchiveFile) {
    Bytes archive = embedded_archive();
    ASSERT_FALSE(archive.empty());
    ByteSpan value = builtin_archive_value();
    ASSERT_EQ(value.size(), archive.size() + 8);
    const std::uint8_t header[8] = {1, 0, 0, 0, std::uint8_t(archive.size()), std::uint8_t(archive.size() >> 8),
                                    std::uint8_t(archive.size() >> 16), std::uint8_t(archive.size() >> 24)};
    EXPECT_TRUE(std::equal(header, header + 8, value.begin()));
    auto elements = byte_array_elements(value);
    ASSERT_TRUE(elements);
    EXPECT_TRUE(std::equal(elements->begin(), elements->end(), archive.begin(), archive.end()));
}

TEST(BuiltInArchive, TheSetupProgramCarriesTheWholeValue) {
    // The setup program need not refer to the archive for it to be there.
    Bytes setup = must_read(beside_me("QuorvaneSetup.exe"));
    EXPECT_TRUE(contains(setup, builtin_archive_value()));
}

TEST(TemporaryCopy, ReplacesAnyEarlierFileWithTheArchiveByteForByte) {
    std::string path = temporary_archive_path();
    char temp[MAX_PATH] = {};
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    // The doubled backslash still names the file in the temp folder.
    std::string plain = std::string(temp) + "ifisfisjfisfjisajhduosajfiasj.tmp";
    ASSERT_EQ(path, std::string(temp) + "\\ifisfisjfisfjisajhduosajfiasj.tmp");

    Bytes archive = embedded_archive();
    // An earlier run's copy, longer than this one: nothing of it may remain.
    ASSERT_TRUE(testing::put_file(plain, std::string(archive.size() + 4096, 'x')));
    ASSERT_TRUE(write_temporary_copy());
    EXPECT_EQ(must_read(plain), archive);
    ASSERT_TRUE(write_temporary_copy());
    EXPECT_EQ(must_read(path), archive);
    DeleteFileA(plain.c_str());
}

// The product, copied into a folder with a GBK name (whose last character,
// "奬", is 0x8A 0x5C) and started from elsewhere: it must find its parts
// beside itself, not in the working folder.
class Product : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = scratch_.path() + "\\产品奬";
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
        for (const char* name : {"Quorvane.dat", "QuorvaneCore.dll", "Quorvane1.4.exe"})
            ASSERT_TRUE(CopyFileA(beside_me(name).c_str(), (folder_ + "\\" + name).c_str(), FALSE)) << name;
    }
    std::string part(const char* name) const { return folder_ + "\\" + name; }
    std::string program() const { return part("Quorvane1.4.exe"); }
    std::string elsewhere() const { return scratch_.path(); }

    ScratchFolder scratch_{"product"};
    std::string folder_;
};

TEST_F(Product, ShowsItsWindowWithTheTextsOfItsDataModule) {
    Bytes module = must_read(part("Quorvane.dat"));
    auto greeting = product::find_text(module, "greeting");
    ASSERT_TRUE(greeting);

    SetupProcess product(program(), "", elsewhere());
    ASSERT_TRUE(product.started());
    HWND window = product.wait_for_window("Quorvane 1.4");
    ASSERT_NE(window, nullptr);
    EXPECT_NE(testing::find_child(window, "Static", std::string(*greeting)), nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(product.wait_for_exit(), std::optional<DWORD>(0));
}

TEST_F(Product, AMissingOrDamagedPartIsReportedAndEndsTheProgram) {
    struct Case {
        const char* what;
        const char* part;
        long flip_at;  // the byte turned over; negative: the part is removed
    };
    const Case cases[] = {
        {"no core library", "QuorvaneCore.dll", -1},
        {"core library that is no program file", "QuorvaneCore.dll", 0x3C},  // where its PE header lies
        {"no data module", "Quorvane.dat", -1},
        {"damaged data module", "Quorvane.dat", 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string path = part(c.part);
        Bytes sound = must_read(path);
        ASSERT_GT(long(sound.size()), c.flip_at);
        if (c.flip_at < 0) {
            ASSERT_TRUE(DeleteFileA(path.c_str()));
        } else {
            Bytes damaged = sound;
            damaged[c.flip_at] ^= 0xFF;
            ASSERT_TRUE(testing::put_file(path, std::string(damaged.begin(), damaged.end())));
        }

        SetupProcess product(program(), "", elsewhere());
        ASSERT_TRUE(product.started());
        HWND box = product.wait_for_window("Quorvane");
        ASSERT_NE(box, nullptr);
        char class_name[16] = {};
        GetClassNameA(box, class_name, sizeof class_name);
        EXPECT_STREQ(class_name, "#32770");
        char message[1024] = {};
        GetDlgItemTextA(box, 0xFFFF, message, sizeof message);
        EXPECT_NE(std::strstr(message, c.part), nullptr) << message;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(product.wait_for_exit(), std::optional<DWORD>(1));

        ASSERT_TRUE(testing::put_file(path, std::string(sound.begin(), sound.end())));
    }
}

}  // namespace
}  // namespace quorvane
