#include "byte_array.h"

#include <cstring>

namespace quorvane {

namespace {
std::uint32_t read_le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
}  // namespace

std::optional<ByteSpan> byte_array_elements(ByteSpan value) {
    if (value.size() < 8) return std::nullopt;
    if (read_le32(value.data()) != 1) return std::nullopt;
    std::uint32_t count = read_le32(value.data() + 4);
    if (count > 0x7FFFFFFFu || count > value.size() - 8) return std::nullopt;
    return value.subspan(8, count);
}

std::vector<std::uint8_t> text_to_bytes(std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

}  // namespace quorvane
