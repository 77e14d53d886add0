#pragma once
// A ZIP archive held as its records, field by field, so that tests can build
// valid archives and then damage any field, rename entries or change extra
// fields and write the result back with every offset and length recomputed.
// Portable: no windows.h, no zlib (callers bring deflated data themselves).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::testing {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t crc32_of(std::string_view data);

// Fields that appear in both the local header and the central record. The
// writer fills in the name and extra lengths; everything else is as given.
struct EntryFields {
    std::uint16_t version_needed = 20;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint16_t dos_time = 0;
    std::uint16_t dos_date = 0x21;  // 1980-01-01
    std::uint32_t crc = 0;
    std::uint32_t compressed_size = 0;
    std::uint32_t uncompressed_size = 0;
    std::string name;
    std::string extra;
};

struct ArchiveEntry {
    EntryFields local;
    EntryFields central;
    std::string data;  // the stored (possibly deflated) bytes
    std::uint16_t made_by = 20;
    std::uint16_t disk = 0;
    std::uint16_t internal_attributes = 0;
    std::uint32_t external_attributes = 0x20;
    std::string comment;
    std::string content;  // what the entry holds once decoded: what a correct extraction writes
};

struct ArchiveModel {
    std::vector<ArchiveEntry> entries;
    std::string prefix;  // bytes before the first local header
    std::string comment;
};

// An entry whose local header and central record agree.
ArchiveEntry stored_entry(std::string name, std::string content, std::uint32_t external_attributes = 0x20);
ArchiveEntry deflated_entry(std::string name, std::string content, std::string deflated,
                        std::uint32_t external_attributes = 0x20);
ArchiveEntry folder_entry(std::string name);

// Where each record landed when the model was written.
struct ArchiveLayout {
    std::vector<std::size_t> local_headers;
    std::vector<std::size_t> data;
    std::vector<std::size_t> central_records;
    std::size_t central_directory = 0;
    std::size_t end_record = 0;
};

// Offsets of the fields inside each record, for changing them in place.
namespace local_field {
constexpr std::size_t version = 4, flags = 6, method = 8, time = 10, date = 12, crc = 14, compressed = 18,
                      uncompressed = 22, name_length = 26, extra_length = 28, size = 30;
}
namespace central_field {
constexpr std::size_t made_by = 4, version = 6, flags = 8, method = 10, time = 12, date = 14, crc = 16,
                      compressed = 20, uncompressed = 24, name_length = 28, extra_length = 30, comment_length = 32,
                      disk = 34, internal = 36, external = 38, local_offset = 42, size = 46;
}
namespace end_field {
constexpr std::size_t disk = 4, directory_disk = 6, entries_here = 8, entries_total = 10, directory_size = 12,
                      directory_offset = 16, comment_length = 20, size = 22;
}

Bytes write_archive(const ArchiveModel& model, ArchiveLayout* layout = nullptr);

void put16(Bytes& bytes, std::size_t at, std::uint16_t value);
void put32(Bytes& bytes, std::size_t at, std::uint32_t value);
std::uint16_t get16(const Bytes& bytes, std::size_t at);
std::uint32_t get32(const Bytes& bytes, std::size_t at);

}  // namespace quorvane::testing
