#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "../support/win32_files.h"
#include "../support/zip_builder.h"
#include "extract.h"

namespace quorvane {
namespace {

using testing::build_zip;
using testing::exists;
using testing::is_folder;
using testing::put_file;
using testing::ScratchFolder;
using testing::ut_block;
using testing::ZipEntry;

std::string contents(const std::string& path) {
    auto bytes = testing::read_whole_file(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
}

// Every file and folder under root, relative, folders with a trailing "\".
void collect(const std::string& root, const std::string& relative, std::set<std::string>& into) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((root + "\\" + relative + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            into.insert(relative + name + "\\");
            collect(root, relative + name + "\\", into);
        } else {
            into.insert(relative + name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::set<std::string> tree(const std::string& root) {
    std::set<std::string> all;
    collect(root, "", all);
    return all;
}

struct Times {
    std::uint64_t creation, last_access, last_write;
};

std::uint64_t value(const FILETIME& t) { return (std::uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

Times file_times(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    FILETIME c{}, a{}, w{};
    if (file != INVALID_HANDLE_VALUE) {
        GetFileTime(file, &c, &a, &w);
        CloseHandle(file);
    }
    return {value(c), value(a), value(w)};
}

// What reset to normal leaves: no read-only, hidden or system bit, not a
// folder (Wine reports every plain file with the archive bit).
bool is_plain_file(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES &&
           !(a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY));
}

// Whether the file system under the scratch folder keeps a creation time that
// is set (Wine on most Linux file systems does not); creation times are
// checked only where it does.
bool creation_time_is_kept(const ScratchFolder& scratch) {
    std::string probe = scratch / "creation-probe";
    put_file(probe, "");
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME set{0x12345600, 0x01B00000};
    SetFileTime(file, &set, nullptr, nullptr);
    CloseHandle(file);
    bool kept = file_times(probe).creation == value(set);
    DeleteFileA(probe.c_str());
    return kept;
}

std::uint64_t utc(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME s{WORD(year), WORD(month), 0, WORD(day), WORD(hour), WORD(minute), WORD(second), 0};
    FILETIME t{};
    SystemTimeToFileTime(&s, &t);
    return value(t);
}

// Content that spans several 16 KiB pieces and does not repeat too simply.
std::string sample_data(std::size_t size) {
    std::string data(size, '\0');
    std::uint32_t x = 12345;
    for (auto& c : data) {
        x = x * 1103515245 + 12345;
        c = char('a' + (x >> 16) % 7);
    }
    return data;
}

struct Unpacked {
    ExtractOutcome outcome;
    std::vector<int> events;
};

Unpacked unpack(const std::string& archive, const std::string& target, std::function<bool(int)> handler = {}) {
    Unpacked run;
    run.outcome = extract_archive(archive, target, [&](int percent) {
        run.events.push_back(percent);
        return handler ? handler(percent) : true;
    });
    return run;
}

// An archive written into the scratch folder, unpacked into scratch\t.
Unpacked unpack_bytes(const ScratchFolder& scratch, const std::string& zip, std::function<bool(int)> handler = {}) {
    EXPECT_TRUE(put_file(scratch / "in.zip", zip));
    return unpack(scratch / "in.zip", scratch / "t", std::move(handler));
}

ZipEntry entry(std::string name, std::string data, std::uint16_t method = 8) {
    ZipEntry e;
    e.name = std::move(name);
    e.data = std::move(data);
    e.method = method;
    return e;
}

ZipEntry folder_entry(std::string name, std::uint32_t attributes = 0x10) {
    ZipEntry e = entry(std::move(name), "", 0);
    e.external_attributes = attributes;
    return e;
}

TEST(Extract, UnpacksFilesAndFoldersIntoAMissingTargetWithNormalAttributesAndDosTimes) {
    ScratchFolder scratch("extract-basic");
    std::string big = sample_data(100000);
    std::vector<ZipEntry> entries = {
        entry("data.bin", big),
        entry("a/b/c.txt", "nested", 0),
        folder_entry("docs/"),
        folder_entry("unix/", 0x41ED0010),
        folder_entry("slash only/", 0x20),  // ends with "/" but lacks the folder bit
        folder_entry("bare", 0x10),         // the folder bit without a trailing "/"
        entry("empty.txt", ""),
        entry("Quorvane1.4.exe", "MZ program"),
    };
    entries.back().external_attributes = 0x81A40020;  // Unix rw-r--r--, archive: not read-only
    ASSERT_TRUE(put_file(scratch / "in.zip", build_zip(entries)));
    std::string target = scratch / "p1\\p2\\target";

    Unpacked run = unpack(scratch / "in.zip", target);

    EXPECT_EQ(run.outcome.result, 1);
    EXPECT_EQ(run.outcome.cause, ExtractCause::none);
    EXPECT_EQ(tree(target), (std::set<std::string>{"data.bin", "a\\", "a\\b\\", "a\\b\\c.txt", "docs\\", "unix\\",
                                                   "slash only\\", "bare\\", "empty.txt", "Quorvane1.4.exe"}));
    // Times first: reading the contents moves the last-access time.
    const std::uint64_t dos = utc(2020, 6, 15, 12, 34, 56);
    const bool creation_kept = creation_time_is_kept(scratch);
    for (const char* name : {"data.bin", "a\\b\\c.txt", "empty.txt", "Quorvane1.4.exe"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(is_plain_file(target + "\\" + name));
        Times t = file_times(target + "\\" + name);
        EXPECT_EQ(t.last_write, dos);
        EXPECT_EQ(t.last_access, dos);
        if (creation_kept) {
            EXPECT_EQ(t.creation, dos);
        }
    }
    EXPECT_EQ(contents(target + "\\data.bin"), big);
    EXPECT_EQ(contents(target + "\\a\\b\\c.txt"), "nested");
    EXPECT_EQ(contents(target + "\\empty.txt"), "");
    EXPECT_EQ(contents(target + "\\Quorvane1.4.exe"), "MZ program");
    EXPECT_EQ(run.events, (std::vector<int>{0, 12, 25, 37, 50, 62, 75, 87, 100}));
}

TEST(Extract, SecondRunReplacesEveryFile) {
    ScratchFolder scratch("extract-again");
    ASSERT_EQ(unpack_bytes(scratch, build_zip({entry("one.txt", "first run"), entry("two.txt", "first run")}))
                  .outcome.result,
              1);
    Unpacked again = unpack_bytes(scratch, build_zip({entry("one.txt", "second"), entry("two.txt", "second run")}));
    EXPECT_EQ(again.outcome.result, 1);
    EXPECT_EQ(contents(scratch / "t\\one.txt"), "second");
    EXPECT_EQ(contents(scratch / "t\\two.txt"), "second run");
}

// Folders are made when a create finds them missing, not remembered from the
// entry before: a folder removed between two entries of it is made again.
TEST(Extract, AFolderRemovedBetweenItsEntriesIsMadeAgain) {
    ScratchFolder scratch("extract-removed");
    Unpacked run = unpack_bytes(scratch, build_zip({entry("a/b/one.txt", "1"), entry("a/b/two.txt", "2")}),
                                [&](int percent) {
                                    if (percent == 0) {
                                        DeleteFileA((scratch / "t\\a\\b\\one.txt").c_str());
                                        RemoveDirectoryA((scratch / "t\\a\\b").c_str());
                                        RemoveDirectoryA((scratch / "t\\a").c_str());
                                    }
                                    return true;
                                });
    EXPECT_EQ(run.outcome.result, 1);
    EXPECT_EQ(tree(scratch / "t"), (std::set<std::string>{"a\\", "a\\b\\", "a\\b\\two.txt"}));
    EXPECT_TRUE(is_plain_file(scratch / "t\\a\\b\\two.txt"));
}

TEST(Extract, AFileInTheWayFailsItsEntryAfterEarlierOnesAndBeforeLaterOnes) {
    struct Case {
        const char* what;
        std::function<void(const std::string& path)> put_in_the_way;
    };
    HANDLE held = INVALID_HANDLE_VALUE;
    const Case cases[] = {
        {"read-only", [](const std::string& p) { SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_READONLY); }},
        {"hidden", [](const std::string& p) { SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_HIDDEN); }},
        {"system", [](const std::string& p) { SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_SYSTEM); }},
        {"held open by the running product",
         [&](const std::string& p) {
             held = CreateFileA(p.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
         }},
        {"a folder",
         [](const std::string& p) {
             DeleteFileA(p.c_str());
             CreateDirectoryA(p.c_str(), nullptr);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder scratch("extract-in-the-way");
        CreateDirectoryA((scratch / "t").c_str(), nullptr);
        ASSERT_TRUE(put_file(scratch / "t\\one.dll", "old one"));
        ASSERT_TRUE(put_file(scratch / "t\\two.dll", "old two"));
        c.put_in_the_way(scratch / "t\\two.dll");

        Unpacked run = unpack_bytes(
            scratch, build_zip({entry("one.dll", "new one"), entry("two.dll", "new two"), entry("three.exe", "new")}));

        if (held != INVALID_HANDLE_VALUE) CloseHandle(std::exchange(held, INVALID_HANDLE_VALUE));
        EXPECT_EQ(run.outcome.result, 0);
        EXPECT_EQ(run.outcome.cause, ExtractCause::file_in_use_or_read_only);
        EXPECT_EQ(run.outcome.entry_name, "two.dll");
        EXPECT_EQ(contents(scratch / "t\\one.dll"), "new one");
        if (!is_folder(scratch / "t\\two.dll")) {
            EXPECT_EQ(contents(scratch / "t\\two.dll"), "old two");
        }
        EXPECT_FALSE(exists(scratch / "t\\three.exe"));
        EXPECT_EQ(run.events, (std::vector<int>{0, 100}));
    }
}

TEST(Extract, AHiddenEntryMayReplaceAHiddenFile) {
    ScratchFolder scratch("extract-hidden");
    CreateDirectoryA((scratch / "t").c_str(), nullptr);
    ASSERT_TRUE(put_file(scratch / "t\\h.txt", "old"));
    SetFileAttributesA((scratch / "t\\h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ZipEntry hidden = entry("h.txt", "new");
    hidden.external_attributes = 0x81A40022;
    EXPECT_EQ(unpack_bytes(scratch, build_zip({hidden})).outcome.result, 1);
    EXPECT_EQ(contents(scratch / "t\\h.txt"), "new");
    EXPECT_TRUE(is_plain_file(scratch / "t\\h.txt"));
}

TEST(Extract, TargetFolderGetsExactlyOneSeparator) {
    struct Case {
        const char* what;
        std::string folder;  // under the scratch folder
        std::string made;    // the folder the file must land in
    };
    const Case cases[] = {
        {"plain", "t", "t"},
        {"trailing backslash", "t\\", "t"},
        {"last character's trail byte is 0x5C", "t\x95\x5c", "t\x95\x5c"},
        {"trail byte 0x5C, then a backslash", "t\x95\x5c\\", "t\x95\x5c"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder scratch("extract-target");
        ASSERT_TRUE(put_file(scratch / "in.zip", build_zip({entry("a.txt", "x")})));
        EXPECT_EQ(unpack(scratch / "in.zip", scratch / c.folder).outcome.result, 1);
        EXPECT_EQ(tree(scratch.path()), (std::set<std::string>{"in.zip", c.made + "\\", c.made + "\\a.txt"}));
    }
}

TEST(Extract, GivesUpBeforeTheWalk) {
    ZipEntry no_name = entry("", "small");
    enum class Archive { in_scratch, empty_path, missing, the_scratch_folder };
    enum class Target { fresh, empty, an_existing_file, under_a_file };
    struct Case {
        const char* what;
        Archive archive;
        std::string bytes;
        Target target;
        int result;
        ExtractCause cause;
        bool target_made;
    };
    const std::string good = build_zip({entry("a.txt", "x")});
    const Case cases[] = {
        {"empty archive path", Archive::empty_path, "", Target::fresh, -1, ExtractCause::no_input, false},
        {"nothing at the archive path", Archive::missing, "", Target::fresh, -1, ExtractCause::no_input, false},
        {"empty target folder", Archive::in_scratch, good, Target::empty, -1, ExtractCause::no_input, false},
        {"archive path names a folder", Archive::the_scratch_folder, "", Target::fresh, 0,
         ExtractCause::not_an_archive, true},
        {"data before the first local header", Archive::in_scratch, build_zip({entry("a.txt", "x")}, "MZ stub"),
         Target::fresh, 0, ExtractCause::not_an_archive, true},
        {"first entry has an empty name", Archive::in_scratch, build_zip({no_name, entry("a.txt", "x")}),
         Target::fresh, 0, ExtractCause::not_an_archive, true},
        {"shorter than 32 bytes", Archive::in_scratch, good.substr(0, 31), Target::fresh, 0,
         ExtractCause::not_an_archive, true},
        {"not an archive", Archive::in_scratch, std::string(100, 'x'), Target::fresh, 0, ExtractCause::not_an_archive,
         true},
        {"end record cut short", Archive::in_scratch, good.substr(0, good.size() - 10), Target::fresh, 0,
         ExtractCause::damaged_archive, true},
        {"cut inside the central directory", Archive::in_scratch, good.substr(0, good.size() - 30), Target::fresh, 0,
         ExtractCause::damaged_archive, true},
        {"target folder is a file", Archive::in_scratch, good, Target::an_existing_file, 0,
         ExtractCause::cannot_write, false},
        {"target folder cannot be made", Archive::in_scratch, good, Target::under_a_file, 0,
         ExtractCause::cannot_make_folder, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder scratch("extract-early");
        std::string archive = scratch / "in.zip";
        if (c.archive == Archive::in_scratch) {
            ASSERT_TRUE(put_file(archive, c.bytes));
        }
        if (c.archive == Archive::empty_path) archive.clear();
        if (c.archive == Archive::the_scratch_folder) archive = scratch.path();
        std::string target = scratch / "new\\t";
        if (c.target == Target::empty) target.clear();
        if (c.target == Target::an_existing_file || c.target == Target::under_a_file) {
            ASSERT_TRUE(put_file(scratch / "file", "a file"));
            target = c.target == Target::an_existing_file ? scratch / "file" : scratch / "file\\t";
        }

        Unpacked run = unpack(archive, target);

        EXPECT_EQ(run.outcome.result, c.result);
        EXPECT_EQ(run.outcome.cause, c.cause);
        EXPECT_EQ(is_folder(scratch / "new\\t"), c.target_made);
        if (c.target_made) {
            EXPECT_EQ(tree(scratch / "new\\t"), std::set<std::string>{});
        }
        EXPECT_EQ(run.events, std::vector<int>{100});
        if (c.target == Target::an_existing_file) {
            EXPECT_EQ(contents(scratch / "file"), "a file");
        }
    }
}

TEST(Extract, AnUnreadableEntryEndsTheWalkWithResultOne) {
    ZipEntry method_12 = entry("packed.bin", "bzip2 data", 12);
    ZipEntry disagrees = entry("other.bin", "data");
    disagrees.local_method = 0;
    for (const auto& [what, middle] : {std::pair{"method 12", method_12}, std::pair{"local header disagrees", disagrees}}) {
        SCOPED_TRACE(what);
        ScratchFolder scratch("extract-unreadable");
        Unpacked run = unpack_bytes(scratch, build_zip({entry("first.txt", "1"), middle, entry("third.txt", "3")}));
        EXPECT_EQ(run.outcome.result, 1);
        EXPECT_EQ(run.outcome.cause, ExtractCause::none);
        EXPECT_EQ(tree(scratch / "t"), std::set<std::string>{"first.txt"});
        EXPECT_EQ(run.events, (std::vector<int>{0, 100}));
    }
}

TEST(Extract, AFailingEntryStopsTheWalkAndLeavesNothingOfItself) {
    struct Case {
        const char* what;
        ZipEntry middle;
        ExtractCause cause;
    };
    auto with = [](ZipEntry e, std::function<void(ZipEntry&)> change) {
        change(e);
        return e;
    };
    const std::string long_part(240, 'n');
    const Case cases[] = {
        {"../", entry("../evil.txt", "x"), ExtractCause::unsafe_entry_name},
        {"..\\", entry("..\\evil.txt", "x"), ExtractCause::unsafe_entry_name},
        {"a/../../", entry("a/../../evil.txt", "x"), ExtractCause::unsafe_entry_name},
        {"a\\..\\..\\", entry("a\\..\\..\\evil.txt", "x"), ExtractCause::unsafe_entry_name},
        {"mixed separators", entry("a/..\\../evil.txt", "x"), ExtractCause::unsafe_entry_name},
        {".. inside the folder still refused", entry("a/../b.txt", "x"), ExtractCause::unsafe_entry_name},
        {"trailing-dot form of ..", entry(".../evil.txt", "x"), ExtractCause::unsafe_entry_name},
        {"leading /", entry("/evil.txt", "x"), ExtractCause::unsafe_entry_name},
        {"leading \\", entry("\\evil.txt", "x"), ExtractCause::unsafe_entry_name},
        {"drive with separator", entry("C:/evil.txt", "x"), ExtractCause::unsafe_entry_name},
        {"drive-relative", entry("C:evil.txt", "x"), ExtractCause::unsafe_entry_name},
        {"alternate data stream", entry("first.txt:evil", "x"), ExtractCause::unsafe_entry_name},
        {"device name", entry("sub/NUL.txt", "x"), ExtractCause::unsafe_entry_name},
        {"wildcard", entry("a?.txt", "x"), ExtractCause::unsafe_entry_name},
        {"name of 260 bytes", entry(std::string(256, 'n') + ".txt", "x"), ExtractCause::unsafe_entry_name},
        {"output path over 259 bytes", entry(long_part + ".txt", "x"), ExtractCause::unsafe_entry_name},
        {"folder entry over 259 bytes", folder_entry(long_part + "/"), ExtractCause::unsafe_entry_name},
        {"encrypted", with(entry("secret.txt", "x"), [](ZipEntry& e) { e.flags = 1; }),
         ExtractCause::damaged_archive},
        {"bad CRC-32", with(entry("crc.txt", "data"), [](ZipEntry& e) { e.crc = 0x12345678; }),
         ExtractCause::damaged_archive},
        {"bad CRC-32, stored", with(entry("crc.txt", "data", 0), [](ZipEntry& e) { e.crc = 0x12345678; }),
         ExtractCause::damaged_archive},
        {"damaged deflate data", with(entry("bad.txt", "data"), [](ZipEntry& e) { e.encoded = "\xff\xff\xff\xff"; }),
         ExtractCause::damaged_archive},
        {"deflate data ends early",
         with(entry("short.txt", sample_data(50000)), [](ZipEntry& e) { e.encoded = "\x03\x00"; }),
         ExtractCause::damaged_archive},
        {"stored data shorter than its size",
         with(entry("short.txt", "0123456789", 0), [](ZipEntry& e) { e.encoded = "01234"; }),
         ExtractCause::damaged_archive},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder scratch("extract-entry");
        std::set<std::string> before = {"in.zip", "t\\", "t\\first.txt"};

        Unpacked run = unpack_bytes(scratch, build_zip({entry("first.txt", "1"), c.middle, entry("third.txt", "3")}));

        EXPECT_EQ(run.outcome.result, 0);
        EXPECT_EQ(run.outcome.cause, c.cause);
        EXPECT_EQ(run.outcome.entry_name, c.middle.name);
        EXPECT_EQ(tree(scratch.path()), before);
        EXPECT_EQ(run.events, (std::vector<int>{0, 100}));
    }
}

TEST(Extract, UtBlockReplacesTheTimesItAnnounces) {
    const std::uint64_t dos = utc(2020, 6, 15, 12, 34, 56);
    const std::uint64_t t2001 = utc(2001, 2, 3, 4, 5, 6), t1999 = utc(1999, 12, 31, 23, 59, 58),
                        t2010 = utc(2010, 10, 10, 10, 10, 10), t1969 = utc(1969, 7, 20, 20, 17, 40);
    struct Case {
        const char* what;
        std::string extra;
        Times want;
    };
    const Case cases[] = {
        {"no extra field", "", {dos, dos, dos}},
        {"last-write time", ut_block(1, {981173106}), {dos, dos, t2001}},
        {"last-access time", ut_block(2, {981173106}), {dos, t2001, dos}},
        {"creation time", ut_block(4, {981173106}), {t2001, dos, dos}},
        {"all three, in order", ut_block(7, {981173106, 946684798, 1286705410}), {t2010, t1999, t2001}},
        {"after another block", testing::extra_block(0x7075, "unicode path") + ut_block(1, {981173106}),
         {dos, dos, t2001}},
        {"only the first UT block counts", ut_block(1, {981173106}) + ut_block(1, {946684798}), {dos, dos, t2001}},
        {"announces three, holds one", testing::extra_block(0x5455, std::string("\x07\x72\x83\x7b\x3a", 5)),
         {dos, dos, t2001}},
        {"size runs past the field", std::string("UT\x0d\x00\x07\x72\x83\x7b\x3a", 9), {dos, dos, t2001}},
        {"before 1970", ut_block(1, {-14182940}), {dos, dos, t1969}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder scratch("extract-ut");
        ZipEntry e = entry("timed.txt", "t");
        e.local_extra = c.extra;
        ASSERT_EQ(unpack_bytes(scratch, build_zip({e})).outcome.result, 1);
        Times got = file_times(scratch / "t\\timed.txt");
        if (creation_time_is_kept(scratch)) {
            EXPECT_EQ(got.creation, c.want.creation);
        }
        EXPECT_EQ(got.last_access, c.want.last_access);
        EXPECT_EQ(got.last_write, c.want.last_write);
    }
}

TEST(Extract, AHandlerThatSaysStopEndsTheWalkWithResultOne) {
    ScratchFolder scratch("extract-stop");
    Unpacked run = unpack_bytes(scratch, build_zip({entry("one.txt", "1"), entry("two.txt", "2")}),
                                [](int) { return false; });
    EXPECT_EQ(run.outcome.result, 1);
    EXPECT_EQ(tree(scratch / "t"), std::set<std::string>{"one.txt"});
    EXPECT_EQ(run.events, std::vector<int>{0}) << "no closing event after a stop";
}

TEST(Extract, TheArchiveStaysReadableButNotWritableMeanwhile) {
    ScratchFolder scratch("extract-sharing");
    ASSERT_TRUE(put_file(scratch / "in.zip", build_zip({entry("one.txt", "1"), entry("two.txt", "2")})));
    bool could_read = false, could_write = true;
    extract_archive(scratch / "in.zip", scratch / "t", [&](int percent) {
        if (percent != 0) return true;
        HANDLE reader = CreateFileA((scratch / "in.zip").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        HANDLE writer = CreateFileA((scratch / "in.zip").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        could_read = reader != INVALID_HANDLE_VALUE;
        could_write = writer != INVALID_HANDLE_VALUE;
        if (could_read) CloseHandle(reader);
        if (could_write) CloseHandle(writer);
        return true;
    });
    EXPECT_TRUE(could_read);
    EXPECT_FALSE(could_write);
    EXPECT_EQ(contents(scratch / "t\\two.txt"), "2");
}

}  // namespace
}  // namespace quorvane
