#include "zip_damage.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace quorvane::testing {

std::uint64_t Random::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint64_t Random::below(std::uint64_t bound) { return bound ? next() % bound : 0; }

const char* kind_name(DamageKind kind) {
    switch (kind) {
    case DamageKind::bit_flips: return "bit flips";
    case DamageKind::truncation: return "truncation";
    case DamageKind::local_field: return "local header field";
    case DamageKind::central_field: return "central record field";
    case DamageKind::end_field: return "end record field";
    case DamageKind::data_flips: return "entry data flips";
    case DamageKind::traversal_name: return "traversal name";
    case DamageKind::hostile_name: return "hostile name";
    case DamageKind::overlong_name: return "overlong name";
    case DamageKind::method: return "method";
    case DamageKind::flags: return "flags";
    case DamageKind::extra_field: return "extra field";
    case DamageKind::structure: return "structure";
    }
    return "?";
}

namespace {

std::string hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

std::string printable(const std::string& name) {
    std::string out;
    for (unsigned char c : name.substr(0, 40)) {
        if (c >= 0x20 && c < 0x7F) out += char(c);
        else out += "\\x" + hex(c).substr(2);
    }
    if (name.size() > 40) out += "...(" + std::to_string(name.size()) + " bytes)";
    return out;
}

template <class T, std::size_t N>
const T& pick(Random& random, const T (&items)[N]) {
    return items[random.below(N)];
}

std::uint16_t odd_value16(Random& random, std::uint16_t old) {
    switch (random.below(9)) {
    case 0: return 0;
    case 1: return 1;
    case 2: return 0x7FFF;
    case 3: return 0x8000;
    case 4: return 0xFFFF;
    case 5: return std::uint16_t(old + 1);
    case 6: return std::uint16_t(old - 1);
    case 7: return std::uint16_t(old ^ (1u << random.below(16)));
    default: return std::uint16_t(random.next());
    }
}

std::uint32_t odd_value32(Random& random, std::uint32_t old, std::size_t archive_size) {
    auto size = std::uint32_t(archive_size);
    switch (random.below(12)) {
    case 0: return 0;
    case 1: return 1;
    case 2: return 0x7FFFFFFF;
    case 3: return 0x80000000u;
    case 4: return 0xFFFFFFFFu;
    case 5: return old + 1;
    case 6: return old - 1;
    case 7: return old ^ (1u << random.below(32));
    case 8: return size;
    case 9: return size - std::uint32_t(random.below(64));
    case 10: return old + std::uint32_t(random.below(4096)) - 2048;
    default: return std::uint32_t(random.next());
    }
}

struct Field {
    const char* name;
    std::size_t offset;
    int width;  // 2 or 4 bytes
};

const Field local_fields[] = {
    {"signature", 0, 4},
    {"version", local_field::version, 2},
    {"flags", local_field::flags, 2},
    {"method", local_field::method, 2},
    {"time", local_field::time, 2},
    {"date", local_field::date, 2},
    {"crc", local_field::crc, 4},
    {"compressed size", local_field::compressed, 4},
    {"uncompressed size", local_field::uncompressed, 4},
    {"name length", local_field::name_length, 2},
    {"extra length", local_field::extra_length, 2},
};

const Field central_fields[] = {
    {"signature", 0, 4},
    {"made by", central_field::made_by, 2},
    {"version", central_field::version, 2},
    {"flags", central_field::flags, 2},
    {"method", central_field::method, 2},
    {"time", central_field::time, 2},
    {"date", central_field::date, 2},
    {"crc", central_field::crc, 4},
    {"compressed size", central_field::compressed, 4},
    {"uncompressed size", central_field::uncompressed, 4},
    {"name length", central_field::name_length, 2},
    {"extra length", central_field::extra_length, 2},
    {"comment length", central_field::comment_length, 2},
    {"disk", central_field::disk, 2},
    {"internal attributes", central_field::internal, 2},
    {"external attributes", central_field::external, 4},
    {"local header offset", central_field::local_offset, 4},
};

const Field end_fields[] = {
    {"signature", 0, 4},
    {"disk", end_field::disk, 2},
    {"directory disk", end_field::directory_disk, 2},
    {"entries on this disk", end_field::entries_here, 2},
    {"entries in total", end_field::entries_total, 2},
    {"directory size", end_field::directory_size, 4},
    {"directory offset", end_field::directory_offset, 4},
    {"comment length", end_field::comment_length, 2},
};

template <std::size_t N>
std::string change_field(Random& random, Bytes& bytes, std::size_t record, const Field (&fields)[N]) {
    const Field& f = pick(random, fields);
    std::size_t at = record + f.offset;
    if (f.width == 2) {
        std::uint16_t old = get16(bytes, at), now = odd_value16(random, old);
        if (now == old) now = std::uint16_t(old ^ 1);
        put16(bytes, at, now);
        return std::string(f.name) + " " + hex(old) + " -> " + hex(now);
    }
    std::uint32_t old = get32(bytes, at), now = odd_value32(random, old, bytes.size());
    if (now == old) now = old ^ 1;
    put32(bytes, at, now);
    return std::string(f.name) + " " + hex(old) + " -> " + hex(now);
}

std::size_t any_entry(Random& random, const ArchiveModel& model) { return random.below(model.entries.size()); }

// Where a renamed name goes: both headers as a consistent archive would
// have it, or one of them only.
std::string rename(Random& random, ArchiveEntry& e, const std::string& name) {
    switch (random.below(6)) {
    case 0: e.central.name = name; return "central name";
    case 1: e.local.name = name; return "local name";
    default: e.central.name = e.local.name = name; return "name";
    }
}

std::string traversal_name(Random& random) {
    const std::string m = escape_marker;
    const std::string forms[] = {
        "../" + m,
        "..\\" + m,
        "../../../../../../../../../../" + m,
        "..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\" + m,
        "/" + m,
        "\\" + m,
        "//server/share/" + m,
        "\\\\?\\C:\\" + m,
        "\\\\.\\C:\\" + m,
        "C:\\" + m,
        "C:/" + m,
        "C:" + m,
        "Z:" + m,
        "c:..\\" + m,
        "a/../../" + m,
        "a\\..\\..\\" + m,
        "a/b/../../../" + m,
        "./../" + m,
        "a/./../../" + m,
        ".. /" + m,
        "../ " + m,
        "..\\.\\..\\" + m,
        ". ./" + m,
        ".../" + m,
        "... /" + m,
        "..../" + m,
        "a/../../../../../../../../../../../" + m,
        m + ":stream",
        m + "::$DATA",
        "..",
        "../",
        "a/../..",
        // A GBK lead byte before the separator: a byte-wise reader sees
        // "\..\" where the file system sees one double-byte character.
        "\x81\\..\\..\\" + m,
        "\xB5\\../../" + m,
        "..\x81\\" + m,
        "a\xB5\\..\\..\\" + m,
    };
    return pick(random, forms);
}

std::string hostile_name(Random& random) {
    const std::string names[] = {
        "",
        "/",
        "\\",
        "//",
        "CON",
        "con.txt",
        "NUL",
        "nul.bin",
        "AUX",
        "PRN.log",
        "COM1",
        "LPT1.txt",
        "CONIN$",
        "a/CON/b.txt",
        "a<b",
        "a>b",
        "a|b",
        "a?b",
        "a*b",
        "a\"b",
        "tab\tname",
        "\x01\x02\x03",
        "bell\x07",
        "name.",
        "name ",
        "dots...",
        " lead",
        "folder-like/",
        "folder-like\\",
        "a/b/c/",
        "a//b",
        "a\\\\b",
        std::string("cut\0../../", 10) + escape_marker,
        "\xFF\xFE\xFD",
        "\x81",
        "name\x81",
        "\x80",
    };
    return pick(random, names);
}

std::string overlong_name(Random& random) {
    const std::size_t lengths[] = {240, 250, 255, 256, 258, 259, 260, 261, 300, 520, 1024, 4096, 65535};
    std::size_t length = pick(random, lengths);
    switch (random.below(4)) {
    case 0:  // one component
        return std::string(length, 'n');
    case 1: {  // short nested folders
        std::string name;
        while (name.size() + 4 < length) name += "dd/";
        return name + std::string(length - name.size(), 'f');
    }
    case 2: {  // a folder entry
        std::string name(length - 1, 'g');
        return name + "/";
    }
    default: {  // double-byte characters whose trail bytes look like separators
        std::string name;
        while (name.size() + 2 <= length) name += "\x81\x5C";
        return name;
    }
    }
}

std::string hostile_extra(Random& random) {
    auto block = [](std::uint16_t tag, std::string data, int size = -1) {
        std::string out;
        std::uint16_t n = size < 0 ? std::uint16_t(data.size()) : std::uint16_t(size);
        out += char(tag & 0xFF);
        out += char(tag >> 8);
        out += char(n & 0xFF);
        out += char(n >> 8);
        return out + data;
    };
    auto le32 = [](std::uint32_t v) {
        return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    };
    auto le64 = [&](std::uint64_t v) { return le32(std::uint32_t(v)) + le32(std::uint32_t(v >> 32)); };
    const std::uint16_t ut = 0x5455;
    switch (random.below(14)) {
    case 0: return block(ut, "\x07", 1);                                     // three times announced, none there
    case 1: return block(ut, "\x07" + le32(0x65000000));                      // one of three
    case 2: return block(ut, "\x07" + le32(0x80000000u) + le32(0xFFFFFFFFu) + le32(0));
    case 3: return block(ut, "\x07" + le32(0x7FFFFFFF) + le32(1) + le32(0x8000000F));
    case 4: return block(ut, "\x01" + le32(0x65000000), 0xFFFF);              // size beyond the field
    case 5: return block(ut, "", 0);                                          // empty block
    case 6: return std::string("UT\x05", 3);                                  // shorter than a block header
    case 7: return block(0x0000, "", 0) + block(0x0000, "", 0) + block(ut, "\x02" + le32(0x90000000u));
    case 8: return block(0xCAFE, std::string(200, 'x'), 60) + block(ut, "\x01" + le32(0x12345678));
    case 9: return block(0x7075, "\x01" + le32(0) + "../" + escape_marker);  // Unicode path naming an escape
    case 10: return block(0x0001, le64(~0ull) + le64(1ull << 62) + le64(~0ull));  // ZIP64 sizes and offset
    case 11: return block(0x0001, le32(7), 4);                                // ZIP64 block too short
    case 12: return std::string(random.below(40) + 1, char(random.next()));
    default: {
        std::string many;
        for (int i = 0; i < 100; ++i) many += block(std::uint16_t(random.next()), "", 0);
        return many + block(ut, "\x04" + le32(0xFFFFFFFFu));
    }
    }
}

using Damager = std::string (*)(Random&, ArchiveModel&, Bytes&);

// Each damager either changes the model (it is then written afresh) or the
// bytes of the written original; it returns what it changed.

std::string bit_flips(Random& random, ArchiveModel&, Bytes& bytes) {
    std::string what = "flipped bits at";
    std::vector<std::size_t> done;
    for (auto n = 1 + random.below(8); n > 0; --n) {
        std::size_t bit = random.below(bytes.size() * 8);
        if (std::find(done.begin(), done.end(), bit) != done.end()) continue;  // twice would undo it
        done.push_back(bit);
        bytes[bit / 8] ^= std::uint8_t(1u << (bit % 8));
        what += " " + std::to_string(bit / 8) + "." + std::to_string(bit % 8);
    }
    return what;
}

std::string truncation(Random& random, ArchiveModel& model, Bytes& bytes) {
    ArchiveLayout layout;
    write_archive(model, &layout);
    std::size_t from = 0, to = bytes.size();
    switch (random.below(4)) {
    case 0: from = layout.end_record; break;
    case 1: from = layout.central_directory; to = layout.end_record; break;
    case 2: to = layout.central_directory; break;
    default: break;
    }
    std::size_t keep = from + random.below(to - from);
    std::string what = "cut to " + std::to_string(keep) + " of " + std::to_string(bytes.size());
    bytes.resize(keep);
    return what;
}

std::string in_local_header(Random& random, ArchiveModel& model, Bytes& bytes) {
    ArchiveLayout layout;
    write_archive(model, &layout);
    std::size_t i = any_entry(random, model);
    return "entry " + std::to_string(i) + " local " + change_field(random, bytes, layout.local_headers[i], local_fields);
}

std::string in_central_record(Random& random, ArchiveModel& model, Bytes& bytes) {
    ArchiveLayout layout;
    write_archive(model, &layout);
    std::size_t i = any_entry(random, model);
    return "entry " + std::to_string(i) + " central " +
           change_field(random, bytes, layout.central_records[i], central_fields);
}

std::string in_end_record(Random& random, ArchiveModel& model, Bytes& bytes) {
    ArchiveLayout layout;
    write_archive(model, &layout);
    return "end " + change_field(random, bytes, layout.end_record, end_fields);
}

std::string data_flips(Random& random, ArchiveModel& model, Bytes& bytes) {
    ArchiveLayout layout;
    write_archive(model, &layout);
    std::size_t i = any_entry(random, model);
    for (std::size_t tries = 0; model.entries[i].data.empty() && tries < model.entries.size(); ++tries)
        i = (i + 1) % model.entries.size();
    const std::string& data = model.entries[i].data;
    if (data.empty()) return bit_flips(random, model, bytes);
    std::string what = "entry " + std::to_string(i) + " data";
    if (random.percent(25)) {
        std::size_t at = random.below(data.size()), n = 1 + random.below(std::min<std::size_t>(64, data.size() - at));
        for (std::size_t k = 0; k < n; ++k) bytes[layout.data[i] + at + k] ^= std::uint8_t(1 + random.below(255));
        return what + " bytes " + std::to_string(at) + "+" + std::to_string(n) + " changed";
    }
    std::size_t first = random.below(data.size() * 8);
    for (std::size_t n = 1 + random.below(4), k = 0; k < n; ++k) {
        std::size_t bit = (first + k * 7) % (data.size() * 8);  // distinct, so none undoes another
        bytes[layout.data[i] + bit / 8] ^= std::uint8_t(1u << (bit % 8));
        what += " bit " + std::to_string(bit);
    }
    return what;
}

std::string renamed(Random& random, ArchiveModel& model, std::string (*make)(Random&), const char* label) {
    std::size_t i = any_entry(random, model);
    std::string name = make(random);
    std::string where = rename(random, model.entries[i], name);
    return std::string(label) + ": entry " + std::to_string(i) + " " + where + " \"" + printable(name) + "\"";
}

std::string traversal(Random& random, ArchiveModel& model, Bytes&) {
    return renamed(random, model, traversal_name, "traversal");
}

std::string hostile(Random& random, ArchiveModel& model, Bytes&) { return renamed(random, model, hostile_name, "hostile"); }

std::string overlong(Random& random, ArchiveModel& model, Bytes&) {
    return renamed(random, model, overlong_name, "overlong");
}

std::string method(Random& random, ArchiveModel& model, Bytes&) {
    const std::uint16_t methods[] = {0, 8, 1, 2, 6, 9, 12, 14, 19, 93, 95, 96, 97, 98, 99, 0xFFFF};
    std::size_t i = any_entry(random, model);
    std::uint16_t m = pick(random, methods);
    ArchiveEntry& e = model.entries[i];
    if (m == e.local.method || m == e.central.method) m = 12;
    std::string where = "both";
    switch (random.below(4)) {
    case 0: e.central.method = m; where = "central"; break;
    case 1: e.local.method = m; where = "local"; break;
    default: e.central.method = e.local.method = m; break;
    }
    return "entry " + std::to_string(i) + " method " + std::to_string(m) + " in " + where;
}

std::string flags(Random& random, ArchiveModel& model, Bytes&) {
    const std::uint16_t bits[] = {0x0001, 0x0008, 0x0040, 0x0800, 0x2000, 0x0006, 0x0041, 0xFFFF, 0x0009};
    std::size_t i = any_entry(random, model);
    std::uint16_t b = pick(random, bits);
    ArchiveEntry& e = model.entries[i];
    std::string where = "both";
    switch (random.below(4)) {
    case 0: e.central.flags |= b; where = "central"; break;
    case 1: e.local.flags |= b; where = "local"; break;
    default: e.central.flags |= b; e.local.flags |= b; break;
    }
    return "entry " + std::to_string(i) + " flags |= " + hex(b) + " in " + where;
}

std::string extra(Random& random, ArchiveModel& model, Bytes&) {
    std::size_t i = any_entry(random, model);
    ArchiveEntry& e = model.entries[i];
    std::string blob = hostile_extra(random);
    std::string where;
    switch (random.below(4)) {
    case 0: e.central.extra = blob; where = "central"; break;
    case 1: e.central.extra = e.local.extra = blob; where = "both"; break;
    default: e.local.extra = blob; where = "local"; break;
    }
    // ZIP64 blocks are read only when a size or offset says so.
    if (blob.size() >= 2 && blob[0] == 1 && blob[1] == 0 && random.percent(70)) {
        e.central.compressed_size = e.central.uncompressed_size = 0xFFFFFFFFu;
        where += ", sizes 0xFFFFFFFF";
    }
    return "entry " + std::to_string(i) + " extra field in " + where + " (" + std::to_string(blob.size()) + " bytes)";
}

std::string structure(Random& random, ArchiveModel& model, Bytes& bytes) {
    std::size_t n = model.entries.size(), i = any_entry(random, model);
    std::size_t j = n > 1 ? (i + 1 + random.below(n - 1)) % n : i;
    switch (random.below(8)) {
    case 0:
        model.prefix = std::string(1 + random.below(300), 'S');
        return "data before the first local header";
    case 1: {
        ArchiveEntry copy = model.entries[i];
        model.entries.insert(model.entries.begin() + std::ptrdiff_t(j), std::move(copy));
        return "entry " + std::to_string(i) + " twice";
    }
    case 2:
        std::swap(model.entries[i].central, model.entries[j].central);
        return "central records of entries " + std::to_string(i) + " and " + std::to_string(j) + " swapped";
    case 3:
        model.comment = std::string(1 + random.below(65534), 'c');
        return "archive comment of " + std::to_string(model.comment.size()) + " bytes";
    case 4: {
        // An end record inside the comment that points at a directory of junk.
        Bytes fake(22, 0);
        put32(fake, 0, 0x06054B50);
        put16(fake, end_field::entries_here, 3);
        put16(fake, end_field::entries_total, 3);
        put32(fake, end_field::directory_size, 138);
        put32(fake, end_field::directory_offset, std::uint32_t(random.below(bytes.size())));
        model.comment.assign(fake.begin(), fake.end());
        return "a second end record in the comment";
    }
    case 5: {
        ArchiveLayout layout;
        write_archive(model, &layout);
        put32(bytes, layout.central_records[i] + central_field::local_offset, std::uint32_t(layout.local_headers[j]));
        return "entry " + std::to_string(i) + " points at the local header of entry " + std::to_string(j);
    }
    case 6: {
        model.entries.erase(model.entries.begin() + std::ptrdiff_t(i));
        std::vector<ArchiveEntry> again = model.entries;
        model.entries.insert(model.entries.end(), again.begin(), again.end());
        return "every entry twice, entry " + std::to_string(i) + " left out";
    }
    default: {
        ArchiveLayout layout;
        write_archive(model, &layout);
        std::size_t at = layout.data[i];
        bytes.insert(bytes.begin() + std::ptrdiff_t(at), 1 + random.below(16), std::uint8_t(random.next()));
        return "junk inserted before the data of entry " + std::to_string(i);
    }
    }
}

struct KindEntry {
    DamageKind kind;
    Damager damager;
    bool on_model;  // changes the model, which is then written afresh
};

const KindEntry kinds[damage_kind_count] = {
    {DamageKind::bit_flips, bit_flips, false},
    {DamageKind::truncation, truncation, false},
    {DamageKind::local_field, in_local_header, false},
    {DamageKind::central_field, in_central_record, false},
    {DamageKind::end_field, in_end_record, false},
    {DamageKind::data_flips, data_flips, false},
    {DamageKind::traversal_name, traversal, true},
    {DamageKind::hostile_name, hostile, true},
    {DamageKind::overlong_name, overlong, true},
    {DamageKind::method, method, true},
    {DamageKind::flags, flags, true},
    {DamageKind::extra_field, extra, true},
    {DamageKind::structure, structure, true},
};

}  // namespace

DamagedArchive damage(const std::vector<ArchiveModel>& originals, std::uint64_t seed, std::uint64_t index) {
    Random random(seed * 0x100000001B3ull ^ (index + 1) * 0x9E3779B97F4A7C15ull);
    DamagedArchive out;
    out.original = random.below(originals.size());
    // Every kind in turn, so that any run of damage_kind_count archives
    // covers them all.
    const KindEntry& k = kinds[index % damage_kind_count];
    out.kind = k.kind;
    ArchiveModel model = originals[out.original];
    out.bytes = write_archive(model);
    out.what = k.damager(random, model, out.bytes);
    if (k.on_model) {
        // Some of the structure changes edit the written bytes in place.
        if (out.bytes == write_archive(originals[out.original])) out.bytes = write_archive(model);
    }
    return out;
}

}  // namespace quorvane::testing
