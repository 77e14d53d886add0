#include "entry_path.h"

#include <algorithm>
#include <array>

namespace quorvane {
namespace {

bool is_separator(char c) { return c == '/' || c == '\\'; }

// Windows trims trailing dots and spaces from a path part, so "..." and ".. "
// may be taken as ".."; a lone "." stays harmless.
bool is_dot_part(std::string_view part) {
    if (part.empty() || part == ".") return false;
    return std::all_of(part.begin(), part.end(), [](char c) { return c == '.' || c == ' '; });
}

char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

// The device names resolve anywhere, with any extension and trailing spaces.
bool is_device_part(std::string_view part) {
    std::string_view stem = part.substr(0, part.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    std::string base;
    for (char c : stem) base += upper(c);
    static constexpr std::array<std::string_view, 6> plain = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    if (std::find(plain.begin(), plain.end(), base) != plain.end()) return true;
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '0' &&
           base[3] <= '9';
}

// Bytes below 0x40 never trail a double-byte character, so these are tested
// byte by byte; "|" (0x7C) can be a trail byte and is tested per character.
bool has_bad_character(std::string_view name, LeadByteTest is_lead) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 0x20 || std::string_view("<>\"?*").find(char(c)) != std::string_view::npos) return true;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '|') return true;
        if (is_lead(static_cast<unsigned char>(name[i]))) ++i;
    }
    return false;
}

}  // namespace

NameVerdict check_entry_name(std::string_view name, LeadByteTest is_lead) {
    if (name.empty()) return NameVerdict::empty;
    if (name.size() > max_name_bytes) return NameVerdict::too_long;
    if (is_separator(name.front()) || name.find(':') != std::string_view::npos) return NameVerdict::escapes_folder;
    if (has_bad_character(name, is_lead)) return NameVerdict::bad_character;
    // Parts are cut at every separator byte, even one that a code page would
    // read as a trail byte: that finds at least every ".." the system sees.
    NameVerdict verdict = NameVerdict::ok;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = start;
        while (end < name.size() && !is_separator(name[end])) ++end;
        std::string_view part = name.substr(start, end - start);
        if (is_dot_part(part)) return NameVerdict::escapes_folder;
        if (is_device_part(part)) verdict = NameVerdict::device_name;
        start = end + 1;
    }
    return verdict;
}

bool names_a_folder(std::string_view name) { return !name.empty() && is_separator(name.back()); }

std::optional<std::string> output_path(std::string_view folder, std::string_view name, LeadByteTest is_lead) {
    std::string path = with_trailing_backslash(folder, is_lead);
    if (path.size() + name.size() > max_path_bytes) return std::nullopt;
    for (char c : name) path += (c == '/') ? '\\' : c;
    return path;
}

}  // namespace quorvane
