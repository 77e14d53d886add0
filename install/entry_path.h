#pragma once
// Where an archive entry lands: its name checked for anything that would
// leave the target folder or overrun a path, then joined to the folder.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "dbcs_path.h"

namespace quorvane {

// The longest name and the longest path the file API is handed: MAX_PATH less
// the terminating zero. Anything longer fails; nothing is ever truncated.
constexpr std::size_t max_name_bytes = 259;
constexpr std::size_t max_path_bytes = 259;

enum class NameVerdict {
    ok,
    empty,           // names the target folder itself
    escapes_folder,  // leading separator, drive or stream ':', a ".." part
    bad_character,   // a control byte or one of < > " | ? *
    device_name,     // CON, NUL, COM1 ... reach a device, not a file
    too_long,
};

// "/" and "\" are both separators here: either one reaches the file system
// as a backslash.
NameVerdict check_entry_name(std::string_view name, LeadByteTest is_lead);

// The name ends with a separator: a folder entry whatever its attributes.
bool names_a_folder(std::string_view name);

// The target folder, a backslash unless its last character is one, then the
// name with every "/" replaced by "\" byte by byte. Nothing when the result
// would be longer than max_path_bytes.
std::optional<std::string> output_path(std::string_view folder, std::string_view name, LeadByteTest is_lead);

}  // namespace quorvane
