// The first bytes of whatever file the archive path names.
#include <cstdint>
#include <cstdlib>

#include "archive_header.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bool passes = passes_header_test(ByteSpan(data, size));
    if (passes && (size < header_test_bytes || data[0] != 0x50 || data[3] != 0x04)) std::abort();
    // Only the first 32 bytes count.
    if (size > header_test_bytes && passes_header_test(ByteSpan(data, header_test_bytes)) != passes) std::abort();
    return 0;
}
