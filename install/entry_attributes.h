#pragma once
// The Windows attributes an entry's file takes, from the entry's 32-bit
// external attributes (low half DOS bits, high half Unix mode bits).
#include <cstdint>

namespace quorvane {

namespace file_attribute {
constexpr std::uint32_t read_only = 0x01;
constexpr std::uint32_t hidden = 0x02;
constexpr std::uint32_t system = 0x04;
constexpr std::uint32_t directory = 0x10;
constexpr std::uint32_t archive = 0x20;
constexpr std::uint32_t normal = 0x80;
}  // namespace file_attribute

struct EntryAttributes {
    std::uint32_t attributes;
    bool folder;
};

// Normal, plus directory for a DOS or Unix folder, plus archive, hidden and
// system as the DOS bits say; read-only when the DOS bit says so or the Unix
// owner-write bit is clear (so 0x20 alone gives 0xA1).
EntryAttributes entry_attributes(std::uint32_t external);

// The attributes a file is created with: the entry's, except read-only, so a
// run stopped before the reset to normal leaves nothing a later run trips on.
std::uint32_t created_attributes(std::uint32_t attributes);

// Whether a file already at the output path makes creating the new one fail,
// by the file system's rule for replacing a file: read-only always does;
// hidden or system do unless the new file asks for them too. A folder in the
// way does as well.
bool blocks_replacement(std::uint32_t existing, std::uint32_t created);

}  // namespace quorvane
