#pragma once
// The percentage that a progress event carries.
#include <cstdint>

namespace quorvane {

// index / count * 100 in double precision, truncated toward zero. The last
// event passes the count as index; with nothing counted it is 100 as well,
// never a division of zero by zero.
int percent_done(std::uint64_t index, std::uint64_t count);

}  // namespace quorvane
