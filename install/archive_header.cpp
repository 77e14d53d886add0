#include "archive_header.h"

#include <cstdint>

namespace quorvane {

bool passes_header_test(ByteSpan first_bytes) {
    if (first_bytes.size() < header_test_bytes) return false;
    const auto& b = first_bytes;
    if (b[0] != 0x50 || b[1] != 0x4B || b[2] != 0x03 || b[3] != 0x04) return false;
    std::uint32_t raw = std::uint32_t(b[24]) | (std::uint32_t(b[25]) << 8) | (std::uint32_t(b[26]) << 16) |
                        (std::uint32_t(b[27]) << 24);
    return static_cast<std::int32_t>(raw) >= 1;
}

}  // namespace quorvane
