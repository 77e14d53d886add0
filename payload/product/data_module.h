#pragma once
// The product's data module: the texts Quorvane shows, looked up by key.
// Layout, integers little-endian:
//   "QVDM", uint32 format (1), uint32 record count,
//   per record: uint16 key length, key, uint32 text length, text,
//   uint32 CRC-32 of every byte before it.
// The file comes from disk and may be damaged: every length is checked
// against what is left before anything is read.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quorvane::product {

using Bytes = std::span<const std::uint8_t>;

enum class ModuleVerdict { ok, too_short, bad_magic, unknown_format, bad_record, bad_checksum, trailing_bytes };

ModuleVerdict check_module(Bytes module);

// The text stored under key; nothing when the module is not sound or has no
// such key.
std::optional<std::string_view> find_text(Bytes module, std::string_view key);

}  // namespace quorvane::product
