#include <gtest/gtest.h>

#include "../support/win32_files.h"
#include "services.h"

namespace quorvane {
namespace {

using testing::exists;
using testing::read_whole_file;
using testing::ScratchFolder;

std::string as_string(const std::optional<std::vector<std::uint8_t>>& bytes) {
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
}

TEST(SpecialFolder, EachEndsWithExactlyOneBackslash) {
    for (SpecialFolder which : {SpecialFolder::desktop, SpecialFolder::application_data, SpecialFolder::temp}) {
        SCOPED_TRACE(int(which));
        std::string path = special_folder(which);
        ASSERT_GE(path.size(), 4u);
        EXPECT_EQ(path.back(), '\\');
        EXPECT_NE(path[path.size() - 2], '\\');
        EXPECT_TRUE(testing::is_folder(path)) << path;
    }
}

TEST(WriteFile, WritesEachArraysElementsInOrder) {
    ScratchFolder scratch("write");
    std::string path = scratch / "out.bin";
    auto first = text_to_bytes("start ");
    auto second = text_to_bytes("");
    auto third = text_to_bytes("\"x\"");
    ASSERT_TRUE(write_file(path, {first, second, third}));
    EXPECT_EQ(as_string(read_whole_file(path)), "start \"x\"");
}

TEST(WriteFile, EmptyArrayTruncatesToZero) {
    ScratchFolder scratch("truncate");
    std::string path = scratch / "out.bin";
    ASSERT_TRUE(testing::put_file(path, "old contents"));
    ASSERT_TRUE(write_file(path, {text_to_bytes("")}));
    EXPECT_EQ(as_string(read_whole_file(path)), "");
}

TEST(WriteFile, FailsWithoutTouchingAnything) {
    ScratchFolder scratch("write-fail");
    EXPECT_FALSE(write_file("", {text_to_bytes("x")}));
    std::string in_missing_folder = scratch / "missing\\out.bin";
    EXPECT_FALSE(write_file(in_missing_folder, {text_to_bytes("x")}));
    EXPECT_FALSE(exists(scratch / "missing"));
}

TEST(WriteFile, FailsOnAFileHeldOpenElsewhere) {
    ScratchFolder scratch("write-locked");
    std::string path = scratch / "held.bin";
    ASSERT_TRUE(testing::put_file(path, "kept"));
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(write_file(path, {text_to_bytes("new")}));
    CloseHandle(held);
    EXPECT_EQ(as_string(read_whole_file(path)), "kept");
}

TEST(CreateFolder, OneLevelOnly) {
    ScratchFolder scratch("folder");
    EXPECT_TRUE(create_folder(scratch / "one"));
    EXPECT_TRUE(testing::is_folder(scratch / "one"));
    EXPECT_FALSE(create_folder(scratch / "one")) << "an existing folder makes it fail";
    EXPECT_FALSE(create_folder(scratch / "missing\\two"));
    EXPECT_FALSE(exists(scratch / "missing"));
}

}  // namespace
}  // namespace quorvane
