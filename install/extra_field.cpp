#include "extra_field.h"

#include <algorithm>

namespace quorvane {
namespace {

std::uint16_t le16(ByteSpan b, std::size_t at) { return std::uint16_t(b[at] | (b[at + 1] << 8)); }

std::int32_t le32(ByteSpan b, std::size_t at) {
    std::uint32_t v = std::uint32_t(b[at]) | (std::uint32_t(b[at + 1]) << 8) | (std::uint32_t(b[at + 2]) << 16) |
                      (std::uint32_t(b[at + 3]) << 24);
    return static_cast<std::int32_t>(v);
}

ExtendedTimestamp read_timestamp(ByteSpan data) {
    ExtendedTimestamp found;
    if (data.empty()) return found;
    std::uint8_t flags = data[0];
    std::size_t at = 1;
    for (auto [bit, time] : {std::pair{0x01, &found.last_write}, std::pair{0x02, &found.last_access},
                             std::pair{0x04, &found.creation}}) {
        if (!(flags & bit)) continue;
        if (at + 4 > data.size()) break;  // announced but cut short
        *time = le32(data, at);
        at += 4;
    }
    return found;
}

}  // namespace

std::optional<ExtendedTimestamp> find_extended_timestamp(ByteSpan field) {
    constexpr std::uint16_t ut_tag = 0x5455;
    if (field.size() <= 4) return std::nullopt;
    for (std::size_t at = 0; at + 4 < field.size();) {
        std::uint16_t tag = le16(field, at);
        std::size_t size = le16(field, at + 2);
        std::size_t start = at + 4;
        if (tag == ut_tag) return read_timestamp(field.subspan(start, std::min(size, field.size() - start)));
        at = start + size;
    }
    return std::nullopt;
}

}  // namespace quorvane
