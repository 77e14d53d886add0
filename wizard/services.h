#pragma once
// The shared services on paths and files, callable from any thread.
#include <initializer_list>
#include <string>

#include "byte_array.h"

namespace quorvane {

enum class SpecialFolder { desktop, application_data, temp };

// The folder as the system reports it, ending with exactly one backslash;
// an empty text when the system cannot report it.
std::string special_folder(SpecialFolder which);

// Create folder: the last level of the path only.
bool create_folder(const std::string& path);

// Write file: the elements of each byte array, in order, into a new or
// truncated file. No sharing, no folder creation; an empty path fails at once.
bool write_file(const std::string& path, std::initializer_list<ByteSpan> arrays);

// The ANSI code page's lead-byte test, for the path helpers.
bool system_lead_byte(unsigned char byte);

}  // namespace quorvane
