// The damage engine itself: a long hostile-archive run is only worth its
// figures if every archive is really damaged, and only reproducible if the
// seed and number alone make the same bytes again.
#include <gtest/gtest.h>

#include <set>

#include "zip_damage.h"

namespace quorvane::testing {
namespace {

std::vector<ArchiveModel> originals() {
    ArchiveModel two;
    two.entries = {stored_entry("a.txt", "alpha"), stored_entry("b/c.txt", std::string(3000, 'c'))};
    ArchiveModel three;
    three.entries = {folder_entry("docs/"), stored_entry("docs/x", "x"), stored_entry("empty", "")};
    return {two, three};
}

TEST(ArchiveModel, RecordsPointAtEachOther) {
    ArchiveModel model = originals()[1];
    model.prefix = "junk";
    model.entries[1].local.extra = "UT\x01\x00\x00";
    ArchiveLayout layout;
    Bytes bytes = write_archive(model, &layout);
    ASSERT_EQ(layout.local_headers.size(), 3u);
    EXPECT_EQ(get32(bytes, layout.end_record), 0x06054B50u);
    EXPECT_EQ(get32(bytes, layout.end_record + end_field::directory_offset), layout.central_directory);
    EXPECT_EQ(get32(bytes, layout.end_record + end_field::directory_size), layout.end_record - layout.central_directory);
    EXPECT_EQ(get16(bytes, layout.end_record + end_field::entries_total), 3);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        std::size_t local = layout.local_headers[i], central = layout.central_records[i];
        EXPECT_EQ(get32(bytes, local), 0x04034B50u);
        EXPECT_EQ(get32(bytes, central), 0x02014B50u);
        EXPECT_EQ(get32(bytes, central + central_field::local_offset), local);
        const ArchiveEntry& e = model.entries[i];
        std::size_t name_at = local + local_field::size;
        EXPECT_EQ(std::string(bytes.begin() + name_at, bytes.begin() + name_at + e.local.name.size()), e.local.name);
        EXPECT_EQ(layout.data[i], name_at + e.local.name.size() + e.local.extra.size());
        EXPECT_EQ(get32(bytes, central + central_field::crc), crc32_of(e.content));
    }
}

TEST(ArchiveModel, CrcIsTheStandardOne) { EXPECT_EQ(crc32_of("123456789"), 0xCBF43926u); }

TEST(Damage, SameSeedAndNumberGiveTheSameArchive) {
    auto models = originals();
    for (std::uint64_t index : {0u, 1u, 7u, 12u, 999u}) {
        SCOPED_TRACE(index);
        DamagedArchive a = damage(models, 42, index), b = damage(models, 42, index);
        EXPECT_EQ(a.bytes, b.bytes);
        EXPECT_EQ(a.what, b.what);
        EXPECT_NE(damage(models, 43, index).bytes, a.bytes);
    }
}

// An archive that comes out unchanged would count as a survived attack that
// never happened.
TEST(Damage, EveryKindChangesTheArchive) {
    auto models = originals();
    std::set<DamageKind> seen;
    for (std::uint64_t index = 0; index < 40 * damage_kind_count; ++index) {
        DamagedArchive d = damage(models, 7, index);
        seen.insert(d.kind);
        EXPECT_NE(d.bytes, write_archive(models[d.original])) << kind_name(d.kind) << ": " << d.what;
    }
    EXPECT_EQ(seen.size(), std::size_t(damage_kind_count));
}

}  // namespace
}  // namespace quorvane::testing
