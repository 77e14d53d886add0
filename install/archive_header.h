#pragma once
// The quick test an archive passes before it is opened: it must start with a
// local file header whose first entry has a name.
#include <cstddef>

#include "byte_array.h"

namespace quorvane {

constexpr std::size_t header_test_bytes = 32;

// The first header_test_bytes of the file (fewer when it is shorter): they
// must all be there, start with 50 4B 03 04, and hold at offset 24 a signed
// little-endian int32 of at least 1 (the upper half of the first entry's size
// and its name length, so any name of 1 to 32,767 bytes passes).
bool passes_header_test(ByteSpan first_bytes);

}  // namespace quorvane
