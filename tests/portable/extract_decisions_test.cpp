#include <gtest/gtest.h>

#include <vector>

#include "archive_header.h"
#include "entry_attributes.h"
#include "entry_path.h"
#include "entry_times.h"
#include "extra_field.h"
#include "extract_progress.h"
#include "folder_chain.h"

namespace quorvane {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;

ByteSpan bytes(std::string_view s) { return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}; }

// A file time from Unix seconds; the seconds in the tables were worked out
// from calendar dates independently.
FileTime from_unix(std::int64_t seconds) { return FileTime(seconds + 11644473600) * 10000000u; }

TEST(EntryName, RefusesEveryWayOutOfTheTargetFolder) {
    struct Case {
        const char* what;
        std::string_view name;
        NameVerdict verdict;
    };
    const Case cases[] = {
        {"plain", "a.txt", NameVerdict::ok},
        {"nested", "a/b\\c.txt", NameVerdict::ok},
        {"folder entry", "docs/", NameVerdict::ok},
        {"dots inside names", "a..b/..c/d..", NameVerdict::ok},
        {"a lone . part", "./a/./b", NameVerdict::ok},
        {"doubled separator", "a//b", NameVerdict::ok},
        {"GBK name", "\xd6\xd0\xce\xc4.txt", NameVerdict::ok},
        {"| as a trail byte", "\x95|.txt", NameVerdict::ok},
        {"empty", "", NameVerdict::empty},
        {"..", "..", NameVerdict::escapes_folder},
        {"../", "../a", NameVerdict::escapes_folder},
        {"..\\", "..\\a", NameVerdict::escapes_folder},
        {"inner ..", "a/../b", NameVerdict::escapes_folder},
        {"trailing ..", "a/..", NameVerdict::escapes_folder},
        {"mixed separators", "a\\../..\\b", NameVerdict::escapes_folder},
        {"...", ".../a", NameVerdict::escapes_folder},
        {".. with a trailing space", "a/.. /b", NameVerdict::escapes_folder},
        {"lead byte before a separator byte", "\x95\\..\\x", NameVerdict::escapes_folder},
        {"leading /", "/etc/x", NameVerdict::escapes_folder},
        {"leading \\", "\\x", NameVerdict::escapes_folder},
        {"UNC", "\\\\server\\share\\x", NameVerdict::escapes_folder},
        {"drive", "C:\\x", NameVerdict::escapes_folder},
        {"drive-relative", "C:x", NameVerdict::escapes_folder},
        {"stream", "a.txt:hidden", NameVerdict::escapes_folder},
        {"stream on a folder part", "a:b/c.txt", NameVerdict::escapes_folder},
        {"control byte", "a\x01.txt", NameVerdict::bad_character},
        {"NUL byte", "a\0b.txt"sv, NameVerdict::bad_character},
        {"wildcard", "a*.txt", NameVerdict::bad_character},
        {"question mark", "a?.txt", NameVerdict::bad_character},
        {"quote", "a\".txt", NameVerdict::bad_character},
        {"angle", "a<b>.txt", NameVerdict::bad_character},
        {"pipe", "a|b.txt", NameVerdict::bad_character},
        {"device", "CON", NameVerdict::device_name},
        {"device, lower case, extension", "nul.txt", NameVerdict::device_name},
        {"device with trailing spaces", "aux  .log", NameVerdict::device_name},
        {"numbered device", "sub/com1.txt", NameVerdict::device_name},
        {"device as a folder", "lpt9/a.txt", NameVerdict::device_name},
        {"console device", "CONOUT$", NameVerdict::device_name},
        {"only looks like one", "console.txt", NameVerdict::ok},
        {"COM without a digit", "comx.txt", NameVerdict::ok},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(check_entry_name(c.name, gbk_lead_byte), c.verdict);
    }
}

TEST(EntryName, LengthLimitIsTwoHundredFiftyNineBytes) {
    EXPECT_EQ(check_entry_name(std::string(259, 'n'), gbk_lead_byte), NameVerdict::ok);
    EXPECT_EQ(check_entry_name(std::string(260, 'n'), gbk_lead_byte), NameVerdict::too_long);
    EXPECT_EQ(check_entry_name(std::string(70000, 'n'), gbk_lead_byte), NameVerdict::too_long);
}

TEST(EntryName, FolderByItsTrailingSeparator) {
    EXPECT_TRUE(names_a_folder("docs/"));
    EXPECT_TRUE(names_a_folder("docs\\"));
    EXPECT_FALSE(names_a_folder("docs"));
    EXPECT_FALSE(names_a_folder(""));
}

TEST(OutputPath, OneSeparatorThenTheNameWithSlashesTurned) {
    struct Case {
        const char* what;
        std::string_view folder, name, want;
    };
    const Case cases[] = {
        {"plain", "C:\\q", "a.txt", "C:\\q\\a.txt"},
        {"trailing backslash", "C:\\q\\", "a.txt", "C:\\q\\a.txt"},
        {"nested", "C:\\q", "a/b/c.txt", "C:\\q\\a\\b\\c.txt"},
        {"backslashes kept", "C:\\q", "a\\b/c.txt", "C:\\q\\a\\b\\c.txt"},
        {"folder entry", "C:\\q", "docs/", "C:\\q\\docs\\"},
        {"trail byte 0x5C is not a separator", "C:\\q\x95\x5c", "a.txt", "C:\\q\x95\x5c\\a.txt"},
        {"trail byte 0x5C then a separator", "C:\\q\x95\x5c\\", "a.txt", "C:\\q\x95\x5c\\a.txt"},
        {"slash replaced byte by byte", "C:\\q", "\x95/x", "C:\\q\\\x95\\x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto path = output_path(c.folder, c.name, gbk_lead_byte);
        ASSERT_TRUE(path);
        EXPECT_EQ(*path, c.want);
    }
}

TEST(OutputPath, NothingRatherThanAPathOverTheLimit) {
    std::string folder = "C:\\" + std::string(100, 'f');  // 103 bytes, 104 with the separator
    EXPECT_EQ(output_path(folder, std::string(155, 'n'), gbk_lead_byte)->size(), 259u);
    EXPECT_FALSE(output_path(folder, std::string(156, 'n'), gbk_lead_byte));
    EXPECT_FALSE(output_path(folder + "\\", std::string(156, 'n'), gbk_lead_byte));
}

TEST(FolderChain, EveryPrefixUpToEachRealBackslash) {
    using Prefixes = std::vector<std::string>;
    struct Case {
        const char* what;
        std::string_view folder;
        Prefixes want;
    };
    const Case cases[] = {
        {"absolute", "C:\\q\\new", {"C:\\", "C:\\q\\", "C:\\q\\new\\"}},
        {"trailing backslash", "C:\\q\\new\\", {"C:\\", "C:\\q\\", "C:\\q\\new\\"}},
        {"relative", "new\\sub", {"new\\", "new\\sub\\"}},
        {"one part", "new", {"new\\"}},
        {"trail byte 0x5C", "C:\\\x95\x5c\\x", {"C:\\", "C:\\\x95\x5c\\", "C:\\\x95\x5c\\x\\"}},
        {"ends in trail byte 0x5C", "C:\\q\x95\x5c", {"C:\\", "C:\\q\x95\x5c\\"}},
        {"lone lead byte at the end", "C:\\q\x95", {"C:\\", "C:\\q\x95\\"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto prefixes = folder_chain_prefixes(c.folder, gbk_lead_byte);
        ASSERT_TRUE(prefixes);
        EXPECT_EQ(*prefixes, c.want);
    }
}

TEST(FolderChain, NothingWhenTheFolderWithItsBackslashIsOverTheLimit) {
    std::string folder = "C:\\" + std::string(255, 'f');  // 258 bytes, 259 with the backslash
    EXPECT_TRUE(folder_chain_prefixes(folder, gbk_lead_byte));
    EXPECT_FALSE(folder_chain_prefixes(folder + "g", gbk_lead_byte));
}

TEST(FolderChain, ParentForRecursiveCreation) {
    struct Case {
        const char* what;
        std::string_view path;
        std::optional<std::string> want;
    };
    const Case cases[] = {
        {"plain", "C:\\a\\b", "C:\\a"},
        {"trailing backslash", "C:\\a\\b\\", "C:\\a"},
        {"doubled trailing backslash", "C:\\a\\\\", "C:\\a"},
        {"under the root", "C:\\a", "C:"},
        {"root", "C:\\", std::nullopt},
        {"no backslash", "abc", std::nullopt},
        {"trail byte 0x5C before a trailing backslash", "C:\\q\\\x95\x5c\\", "C:\\q"},
        {"trail byte 0x5C at the end", "C:\\q\\\x95\x5c", "C:\\q"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(creation_parent(c.path, gbk_lead_byte), c.want);
    }
    EXPECT_TRUE(is_bare_drive("C:"));
    EXPECT_FALSE(is_bare_drive("C:\\"));
    EXPECT_FALSE(is_bare_drive("C"));
}

TEST(EntryAttributes, FromDosAndUnixBits) {
    struct Case {
        const char* what;
        std::uint32_t external;
        std::uint32_t attributes;
        bool folder;
    };
    const Case cases[] = {
        {"archive bit only: read-only too", 0x20, 0xA1, false},
        {"Unix rw-r--r--", 0x81A40020, 0xA0, false},
        {"Unix r--r--r--", 0x81240000, 0x81, false},
        {"DOS read-only despite Unix write", 0x81A40001, 0x81, false},
        {"hidden and system", 0x81A40006, 0x86, false},
        {"DOS folder", 0x10, 0x91, true},
        {"Unix folder", 0x41ED0000, 0x90, true},
        {"Unix folder with the DOS bit", 0x41ED0010, 0x90, true},
        {"nothing set", 0, 0x81, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EntryAttributes a = entry_attributes(c.external);
        EXPECT_EQ(a.attributes, c.attributes);
        EXPECT_EQ(a.folder, c.folder);
    }
    EXPECT_EQ(created_attributes(0xA1), 0xA0u);
    EXPECT_EQ(created_attributes(0x87), 0x86u);
}

TEST(EntryAttributes, WhatBlocksReplacingAFile) {
    struct Case {
        const char* what;
        std::uint32_t existing, created;
        bool blocks;
    };
    const Case cases[] = {
        {"plain over plain", 0x20, 0xA0, false},
        {"read-only in the way", 0x21, 0xA0, true},
        {"read-only even when asked for", 0x21, 0xA1, true},
        {"hidden in the way", 0x22, 0xA0, true},
        {"hidden over hidden", 0x22, 0xA2, false},
        {"system in the way", 0x24, 0xA0, true},
        {"system over system", 0x24, 0xA4, false},
        {"hidden and system over hidden only", 0x26, 0xA2, true},
        {"a folder", 0x10, 0xA0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(blocks_replacement(c.existing, c.created), c.blocks);
    }
}

std::uint16_t dos_date(int y, int m, int d) { return std::uint16_t(((y - 1980) << 9) | (m << 5) | d); }
std::uint16_t dos_time(int h, int m, int s) { return std::uint16_t((h << 11) | (m << 5) | (s / 2)); }

TEST(EntryTimes, DosDateAndTimeAsUtc) {
    struct Case {
        const char* what;
        std::uint16_t date, time;
        std::optional<std::int64_t> unix_seconds;
    };
    const Case cases[] = {
        {"first DOS day", dos_date(1980, 1, 1), 0, 315532800},
        {"ordinary", dos_date(2020, 6, 15), dos_time(12, 34, 56), 1592224496},
        {"leap day", dos_date(2020, 2, 29), 0, 1582934400},
        {"after a century leap day", dos_date(2000, 3, 1), 0, 951868800},
        {"last DOS moment", dos_date(2107, 12, 31), dos_time(23, 59, 58), 4354819198},
        {"month 0 (an all-zero date)", 0, 0, std::nullopt},
        {"month 13", dos_date(2020, 13, 1), 0, std::nullopt},
        {"day 0", dos_date(2020, 6, 0), 0, std::nullopt},
        {"29 February of a common year", dos_date(2021, 2, 29), 0, std::nullopt},
        {"31 April", dos_date(2021, 4, 31), 0, std::nullopt},
        {"hour 24", dos_date(2020, 6, 15), dos_time(24, 0, 0), std::nullopt},
        {"minute 60", dos_date(2020, 6, 15), dos_time(12, 60, 0), std::nullopt},
        {"seconds field 30", dos_date(2020, 6, 15), dos_time(12, 0, 60), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto got = dos_to_file_time(c.date, c.time);
        ASSERT_EQ(got.has_value(), c.unix_seconds.has_value());
        if (got) {
            EXPECT_EQ(*got, from_unix(*c.unix_seconds));
        }
    }
}

TEST(EntryTimes, UnixTimesIncludingNegativeOnes) {
    EXPECT_EQ(unix_to_file_time(0), FileTime(116444736000000000));
    EXPECT_EQ(unix_to_file_time(-1), FileTime(116444735990000000));
    EXPECT_EQ(unix_to_file_time(INT32_MIN), FileTime(116444736000000000 - 21474836480000000));
    EXPECT_EQ(unix_to_file_time(-11644473600), FileTime(0));
    EXPECT_FALSE(unix_to_file_time(-11644473601)) << "before 1601";
    EXPECT_FALSE(unix_to_file_time(INT64_MAX)) << "past what a file time holds";
}

std::string le32(std::int32_t v) {
    auto u = std::uint32_t(v);
    return {char(u & 0xFF), char((u >> 8) & 0xFF), char((u >> 16) & 0xFF), char(u >> 24)};
}
std::string block(std::string_view tag, std::uint16_t size, std::string data) {
    return std::string(tag) + char(size & 0xFF) + char(size >> 8) + data;
}
std::string ut(std::uint8_t flags, std::vector<std::int32_t> times) {
    std::string data(1, char(flags));
    for (auto t : times) data += le32(t);
    return block("UT", std::uint16_t(data.size()), data);
}

TEST(ExtraField, FindsTheFirstUtBlockAndReadsOnlyWhatItHolds) {
    using T = std::optional<std::int32_t>;
    struct Case {
        const char* what;
        std::string field;
        bool found;
        T write, access, creation;
    };
    const Case cases[] = {
        {"empty", "", false, {}, {}, {}},
        {"four bytes are too few", "UT\x00\x00"s, false, {}, {}, {}},
        {"write only", ut(1, {100}), true, 100, {}, {}},
        {"access only", ut(2, {200}), true, {}, 200, {}},
        {"creation only", ut(4, {300}), true, {}, {}, 300},
        {"all three in order", ut(7, {1, 2, 3}), true, 1, 2, 3},
        {"unknown flag bits ignored", ut(0xF9, {5}), true, 5, {}, {}},
        {"negative time", ut(1, {-14182940}), true, -14182940, {}, {}},
        {"after another block", block("up", 3, "xyz") + ut(1, {7}), true, 7, {}, {}},
        {"first UT block wins", ut(1, {7}) + ut(1, {8}), true, 7, {}, {}},
        {"no flags byte", block("UT", 0, "") + "pad", true, {}, {}, {}},
        {"announces three, holds one", block("UT", 5, "\x07" + le32(9)), true, 9, {}, {}},
        {"announces two, holds one and a half", block("UT", 7, "\x03" + le32(9) + "ab"), true, 9, {}, {}},
        {"size runs past the field", block("UT", 200, "\x03" + le32(9) + le32(10)), true, 9, 10, {}},
        {"size runs past, time cut by the field's end", block("UT", 200, "\x03" + le32(9) + "ab"), true, 9, {}, {}},
        {"other block's size runs past", block("up", 60000, "") + ut(1, {7}), false, {}, {}, {}},
        {"UT header too close to the end", block("up", 1, "x") + "UT\x01\x00"s, false, {}, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto got = find_extended_timestamp(bytes(c.field));
        ASSERT_EQ(got.has_value(), c.found);
        if (got) {
            EXPECT_EQ(got->last_write, c.write);
            EXPECT_EQ(got->last_access, c.access);
            EXPECT_EQ(got->creation, c.creation);
        }
    }
}

TEST(EntryTimes, UtTimesReplaceTheDosTimeOneByOne) {
    const FileTime dos = from_unix(1592224496);
    const std::uint16_t date = dos_date(2020, 6, 15), time = dos_time(12, 34, 56);
    std::string field = ut(5, {981173106, -14182940});
    EntryTimes t = entry_times(date, time, bytes(field));
    EXPECT_EQ(t.last_write, from_unix(981173106));
    EXPECT_EQ(t.last_access, dos);
    EXPECT_EQ(t.creation, from_unix(-14182940));

    EntryTimes no_dos = entry_times(0, 0, bytes(ut(1, {981173106})));
    EXPECT_EQ(no_dos.last_write, from_unix(981173106));
    EXPECT_FALSE(no_dos.last_access) << "an invalid DOS time sets nothing";
    EXPECT_FALSE(no_dos.creation);
}

TEST(ArchiveHeader, LocalHeaderWithANamedFirstEntry) {
    auto header = [](std::string_view signature, std::uint16_t size_high, std::uint16_t name_length) {
        std::string h(32, '\0');
        h.replace(0, 4, signature);
        h[24] = char(size_high & 0xFF);
        h[25] = char(size_high >> 8);
        h[26] = char(name_length & 0xFF);
        h[27] = char(name_length >> 8);
        return h;
    };
    struct Case {
        const char* what;
        std::string first_bytes;
        bool passes;
    };
    const Case cases[] = {
        {"named first entry", header("PK\x03\x04", 0, 8), true},
        {"longest name that passes", header("PK\x03\x04", 0, 32767), true},
        {"name of 32,768 bytes reads negative", header("PK\x03\x04", 0, 32768), false},
        {"empty name, small entry", header("PK\x03\x04", 0, 0), false},
        {"empty name, entry of 64 KiB or more", header("PK\x03\x04", 1, 0), true},
        {"end record first (empty archive)", header("PK\x05\x06", 0, 8), false},
        {"data in front", "MZ" + header("PK\x03\x04", 0, 8).substr(0, 30), false},
        {"31 bytes", header("PK\x03\x04", 0, 8).substr(0, 31), false},
        {"nothing", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(passes_header_test(bytes(c.first_bytes)), c.passes);
    }
}

TEST(ExtractProgress, PercentOfEntriesHandledTruncated) {
    struct Case {
        std::uint64_t index, count;
        int percent;
    };
    const Case cases[] = {
        {0, 7, 0}, {1, 7, 14}, {6, 7, 85}, {7, 7, 100}, {1, 3, 33}, {2, 3, 66}, {19999, 20000, 99}, {0, 0, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.index << " of " << c.count);
        EXPECT_EQ(percent_done(c.index, c.count), c.percent);
    }
}

}  // namespace
}  // namespace quorvane
