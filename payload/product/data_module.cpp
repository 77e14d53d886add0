#include "data_module.h"

namespace quorvane::product {

namespace {

constexpr std::size_t header_size = 12;
constexpr std::size_t checksum_size = 4;

std::uint32_t read_le(Bytes bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) value |= std::uint32_t(bytes[at + i]) << (8 * i);
    return value;
}

std::uint32_t crc32(Bytes bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// Reads the records in turn; visit(key, text) returns true to stop early.
// Returns the offset just past the last record, or nothing when a record
// runs past the end of the records area.
template <class Visit>
std::optional<std::size_t> walk_records(Bytes records_area, std::uint32_t count, Visit visit) {
    std::size_t at = header_size;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (records_area.size() - at < 2) return std::nullopt;
        std::size_t key_size = read_le(records_area, at, 2);
        at += 2;
        if (records_area.size() - at < key_size + 4) return std::nullopt;
        std::string_view key(reinterpret_cast<const char*>(records_area.data() + at), key_size);
        at += key_size;
        std::size_t text_size = read_le(records_area, at, 4);
        at += 4;
        if (records_area.size() - at < text_size) return std::nullopt;
        std::string_view text(reinterpret_cast<const char*>(records_area.data() + at), text_size);
        at += text_size;
        if (visit(key, text)) return at;
    }
    return at;
}

}  // namespace

ModuleVerdict check_module(Bytes module) {
    if (module.size() < header_size + checksum_size) return ModuleVerdict::too_short;
    if (module[0] != 'Q' || module[1] != 'V' || module[2] != 'D' || module[3] != 'M') return ModuleVerdict::bad_magic;
    if (read_le(module, 4, 4) != 1) return ModuleVerdict::unknown_format;
    Bytes records_area = module.first(module.size() - checksum_size);
    if (read_le(module, records_area.size(), 4) != crc32(records_area)) return ModuleVerdict::bad_checksum;
    auto end = walk_records(records_area, read_le(module, 8, 4), [](auto, auto) { return false; });
    if (!end) return ModuleVerdict::bad_record;
    if (*end != records_area.size()) return ModuleVerdict::trailing_bytes;
    return ModuleVerdict::ok;
}

std::optional<std::string_view> find_text(Bytes module, std::string_view key) {
    if (check_module(module) != ModuleVerdict::ok) return std::nullopt;
    std::optional<std::string_view> found;
    walk_records(module.first(module.size() - checksum_size), read_le(module, 8, 4), [&](auto k, auto text) {
        if (k == key) found = text;
        return found.has_value();
    });
    return found;
}

}  // namespace quorvane::product
