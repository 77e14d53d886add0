#pragma once
// Small ZIP files made by the tests themselves: every field that the
// extraction looks at can be set, including wrong ones.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::testing {

std::uint16_t dos_date(int year, int month, int day);
std::uint16_t dos_time(int hour, int minute, int second);

struct ZipEntry {
    std::string name;  // stored bytes, as they are
    std::string data;  // the entry's content
    std::uint16_t method = 8;  // 8 deflated by zlib; any other value stores data as it is
    std::uint16_t flags = 0;
    std::uint32_t external_attributes = 0x20;
    std::uint16_t date = dos_date(2020, 6, 15);
    std::uint16_t time = dos_time(12, 34, 56);
    std::string local_extra;
    std::optional<std::uint32_t> crc;          // a wrong CRC-32 in both headers
    std::optional<std::string> encoded;        // bytes in place of the encoded data
    std::optional<std::uint16_t> local_method;  // a local header that disagrees
};

// The archive: optional bytes in front, each local header and its data, the
// central directory and the end record.
std::string build_zip(const std::vector<ZipEntry>& entries, const std::string& before = {});

// A "UT" extra block with these flags and the given times, in order.
std::string ut_block(std::uint8_t flags, const std::vector<std::int32_t>& times);
// Any extra block.
std::string extra_block(std::uint16_t tag, const std::string& data);

}  // namespace quorvane::testing
