#pragma once
// The times an entry's file takes: its DOS date and time read as UTC, each
// replaced by the matching time of a "UT" block in its local extra field.
#include <cstdint>
#include <optional>

#include "byte_array.h"

namespace quorvane {

// 100-nanosecond units since 1601-01-01 UTC, as the file API counts.
using FileTime = std::uint64_t;

// Nothing for a date or time that names no moment (month 0, 30 February,
// hour 24, a seconds field of 60 or more): the file then keeps its own time.
std::optional<FileTime> dos_to_file_time(std::uint16_t date, std::uint16_t time);

// Whole seconds; negative times are before 1970 and come out as such.
std::optional<FileTime> unix_to_file_time(std::int64_t seconds);

struct EntryTimes {
    std::optional<FileTime> creation;
    std::optional<FileTime> last_access;
    std::optional<FileTime> last_write;
};

EntryTimes entry_times(std::uint16_t dos_date, std::uint16_t dos_time, ByteSpan local_extra_field);

}  // namespace quorvane
