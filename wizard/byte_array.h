#pragma once
// Byte-array values: an int32 dimension count (always 1), an int32 element
// count, then the elements. Only the elements are ever written to a file.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace quorvane {

using ByteSpan = std::span<const std::uint8_t>;

// The elements of a byte-array value laid out in memory, checked against the
// size of the block that holds it; nothing when the header does not fit.
std::optional<ByteSpan> byte_array_elements(ByteSpan value);

// Text to bytes: the text's bytes without a terminating zero.
std::vector<std::uint8_t> text_to_bytes(std::string_view text);

}  // namespace quorvane
