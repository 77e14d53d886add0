#pragma once
// The built-in archive: the ZIP archive of the product, carried in the
// program's read-only data as a byte-array value.
#include "byte_array.h"

namespace quorvane {

// The whole value: int32 1, int32 the archive's length, then the archive.
ByteSpan builtin_archive_value();

}  // namespace quorvane
