#pragma once
// The extended-timestamp ("UT") block of an entry's local extra field.
#include <cstdint>
#include <optional>

#include "byte_array.h"

namespace quorvane {

// Unix times (seconds since 1970-01-01 UTC, signed), each present only when
// the block's flags announce it and its four bytes lie inside the block.
struct ExtendedTimestamp {
    std::optional<std::int32_t> last_write;
    std::optional<std::int32_t> last_access;
    std::optional<std::int32_t> creation;
};

// The first "UT" block of the field, if any: blocks are a 2-byte tag, a
// 2-byte size and the data, scanned from the start while a whole block
// header fits. A block whose size runs past the field is cut at the field's
// end; nothing outside the field is read.
std::optional<ExtendedTimestamp> find_extended_timestamp(ByteSpan field);

}  // namespace quorvane
