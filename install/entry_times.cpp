#include "entry_times.h"

#include "extra_field.h"

namespace quorvane {
namespace {

constexpr std::int64_t ticks_per_second = 10'000'000;
constexpr std::int64_t seconds_1601_to_1970 = 11'644'473'600;

bool is_leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int days_in_month(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && is_leap(year) ? 29 : days[month - 1];
}

// Days from 1970-01-01 to the given date (proleptic Gregorian calendar).
std::int64_t days_from_epoch(int year, int month, int day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t year_of_era = year - era * 400;
    const std::int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

}  // namespace

std::optional<FileTime> unix_to_file_time(std::int64_t seconds) {
    constexpr std::int64_t latest = INT64_MAX / ticks_per_second - seconds_1601_to_1970;
    if (seconds < -seconds_1601_to_1970 || seconds > latest) return std::nullopt;
    return FileTime(seconds + seconds_1601_to_1970) * FileTime(ticks_per_second);
}

std::optional<FileTime> dos_to_file_time(std::uint16_t date, std::uint16_t time) {
    const int year = 1980 + (date >> 9), month = (date >> 5) & 0x0F, day = date & 0x1F;
    const int hour = time >> 11, minute = (time >> 5) & 0x3F, second = (time & 0x1F) * 2;
    if (month < 1 || month > 12 || day < 1 || day > days_in_month(year, month)) return std::nullopt;
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    return unix_to_file_time(days_from_epoch(year, month, day) * 86400 + hour * 3600 + minute * 60 + second);
}

EntryTimes entry_times(std::uint16_t dos_date, std::uint16_t dos_time, ByteSpan local_extra_field) {
    auto dos = dos_to_file_time(dos_date, dos_time);
    EntryTimes times{dos, dos, dos};
    if (auto ut = find_extended_timestamp(local_extra_field)) {
        if (ut->last_write) times.last_write = unix_to_file_time(*ut->last_write);
        if (ut->last_access) times.last_access = unix_to_file_time(*ut->last_access);
        if (ut->creation) times.creation = unix_to_file_time(*ut->creation);
    }
    return times;
}

}  // namespace quorvane
