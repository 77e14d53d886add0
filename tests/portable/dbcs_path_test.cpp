#include <gtest/gtest.h>

#include "dbcs_path.h"
#include "text.h"

namespace quorvane {
namespace {

// "\x95\x5c" is a GBK character whose trail byte is the backslash's code.
constexpr std::string_view gbk_with_5c_trail = "C:\\q\x95\x5c";

TEST(DbcsPath, TrailingBackslashIsACharacterNotAByte) {
    struct Case {
        const char* what;
        std::string_view path;
        bool ends_with_backslash;
        std::string_view with_trailing;
    };
    const Case cases[] = {
        {"plain", "C:\\q", false, "C:\\q\\"},
        {"already there", "C:\\q\\", true, "C:\\q\\"},
        {"trail byte 0x5C", gbk_with_5c_trail, false, "C:\\q\x95\x5c\\"},
        {"trail byte then backslash", "C:\\q\x95\x5c\\", true, "C:\\q\x95\x5c\\"},
        {"empty", "", false, "\\"},
        {"lone lead byte at the end", "C:\\q\x95", false, "C:\\q\x95\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ends_with_backslash(c.path, gbk_lead_byte), c.ends_with_backslash);
        EXPECT_EQ(with_trailing_backslash(c.path, gbk_lead_byte), c.with_trailing);
    }
}

TEST(DbcsPath, FolderOfCutsAtTheLastRealBackslash) {
    EXPECT_EQ(folder_of("C:\\a\\b\\setup.exe", gbk_lead_byte), "C:\\a\\b");
    EXPECT_EQ(folder_of("C:\\a\x95\x5csetup.exe", gbk_lead_byte), "C:");
    EXPECT_EQ(folder_of("setup.exe", gbk_lead_byte), "");
}

TEST(Concatenate, JoinsInOrderAndTreatsEmptyAsNothing) {
    EXPECT_EQ(concatenate("Quorvane", std::string()), "Quorvane");
    EXPECT_EQ(concatenate(std::string("C:\\x\\"), "Quorvane", "1.4", ".exe"), "C:\\x\\Quorvane1.4.exe");
    EXPECT_EQ(concatenate(), "");
}

}  // namespace
}  // namespace quorvane
