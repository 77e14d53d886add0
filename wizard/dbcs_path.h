#pragma once
// Path handling on byte strings in a double-byte code page (GBK here): a lead
// byte starts a two-byte character, so a trail byte equal to '\' is never a
// separator. Portable: the lead-byte test is passed in.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

using LeadByteTest = bool (*)(unsigned char);

// Code page 936's lead bytes, for code that runs without the Windows API.
bool gbk_lead_byte(unsigned char byte);

// Whether the last character (not the last byte) is a backslash.
bool ends_with_backslash(std::string_view path, LeadByteTest is_lead);

// Position of the last backslash that is a character of its own.
std::optional<std::size_t> last_backslash(std::string_view path, LeadByteTest is_lead);

// The path with exactly the one trailing backslash it may lack.
std::string with_trailing_backslash(std::string_view path, LeadByteTest is_lead);

// The path cut at its last backslash, without it; empty when there is none.
std::string folder_of(std::string_view path, LeadByteTest is_lead);

}  // namespace quorvane
