#include "builtin_archive.h"

#include <cstdint>

// Defined in builtin_archive.S: the value's first byte and the byte past it.
extern "C" const std::uint8_t quorvane_builtin_archive[];
extern "C" const std::uint8_t quorvane_builtin_archive_end[];

namespace quorvane {

ByteSpan builtin_archive_value() {
    auto size = reinterpret_cast<std::uintptr_t>(quorvane_builtin_archive_end) -
                reinterpret_cast<std::uintptr_t>(quorvane_builtin_archive);
    return ByteSpan(quorvane_builtin_archive, std::size_t(size));
}

}  // namespace quorvane
