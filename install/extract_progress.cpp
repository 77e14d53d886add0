#include "extract_progress.h"

namespace quorvane {

int percent_done(std::uint64_t index, std::uint64_t count) {
    if (count == 0 || index >= count) return 100;
    return static_cast<int>(static_cast<double>(index) / static_cast<double>(count) * 100.0);
}

}  // namespace quorvane
