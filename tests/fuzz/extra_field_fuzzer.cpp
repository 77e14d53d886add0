// The local extra field comes straight from the archive: any bytes at all.
#include <cstdint>
#include <cstdlib>

#include "entry_times.h"
#include "extra_field.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteSpan field(data, size);
    auto found = find_extended_timestamp(field);
    if (found && size < 5) std::abort();  // a field of four bytes or fewer is never scanned
    std::uint16_t date = size >= 2 ? std::uint16_t(data[0] | (data[1] << 8)) : 0;
    std::uint16_t time = size >= 4 ? std::uint16_t(data[2] | (data[3] << 8)) : 0;
    EntryTimes times = entry_times(date, time, field);
    // Every time that comes out lies between 1601 and the end of 2107.
    constexpr FileTime latest = (4354819199ull + 11644473600ull) * 10000000ull;
    for (auto t : {times.creation, times.last_access, times.last_write})
        if (t && *t > latest) std::abort();
    return 0;
}
