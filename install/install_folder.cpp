#include "install_folder.h"

#include <array>

#include "desktop_names.h"

namespace quorvane {

namespace {

constexpr std::size_t max_path_bytes = 259;  // MAX_PATH less the terminating zero

bool is_blank(char c) { return c == ' ' || c == '\t'; }

bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string upper_ascii(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return result;
}

// CON, NUL, COM1 ... name devices in every folder, with any extension too.
bool is_device_name(std::string_view component) {
    std::string base = upper_ascii(component.substr(0, component.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    static constexpr std::array<std::string_view, 6> plain = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (std::string_view name : plain)
        if (base == name) return true;
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' &&
           base[3] <= '9';
}

// Characters Windows refuses in names, found character by character: '|' is
// also a GBK trail byte, where it is part of a Chinese character.
bool has_refused_character(std::string_view path, LeadByteTest is_lead) {
    for (std::size_t i = 0; i < path.size(); ++i) {
        auto byte = static_cast<unsigned char>(path[i]);
        if (is_lead(byte)) {
            if (i + 1 == path.size()) return true;  // a character cut in half
            // No double-byte code page has a trail byte below 0x40, 0x7F or
            // 0xFF: a quote or a control byte there is not hidden in a character.
            auto trail = static_cast<unsigned char>(path[++i]);
            if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return true;
            continue;
        }
        if (byte < 0x20 || byte == 0x7F) return true;
        switch (byte) {
        case '<': case '>': case '"': case '|': case '?': case '*': return true;
        case ':':
            if (i != 1) return true;
            break;
        case '/': return true;  // the system turns these into '\'; one left over is not ours
        default: break;
        }
    }
    return false;
}

// The first backslash at or after from that is a character of its own.
std::size_t find_backslash(std::string_view path, std::size_t from, LeadByteTest is_lead) {
    for (std::size_t i = from; i < path.size(); ++i) {
        if (path[i] == '\\') return i;
        if (is_lead(static_cast<unsigned char>(path[i]))) ++i;
    }
    return std::string_view::npos;
}

// Where the folder names below the root begin, or npos when the path is not full.
std::size_t after_root(std::string_view path, LeadByteTest is_lead) {
    if (path.size() >= 3 && is_letter(path[0]) && path[1] == ':' && path[2] == '\\') return 3;
    if (path.size() < 3 || path[0] != '\\' || path[1] != '\\') return std::string_view::npos;
    // \\server\share, both named; "\\?\" and "\\.\" are device namespaces, not shares.
    std::size_t server_end = find_backslash(path, 2, is_lead);
    if (server_end == std::string_view::npos) return server_end;
    std::string_view server = path.substr(2, server_end - 2);
    if (server.empty() || server == "?" || server == ".") return std::string_view::npos;
    std::size_t share_end = find_backslash(path, server_end + 1, is_lead);
    if (share_end == std::string_view::npos) share_end = path.size();
    if (share_end == server_end + 1) return std::string_view::npos;
    return share_end;
}

}  // namespace

bool names_no_folder(std::string_view typed) {
    for (char c : typed)
        if (!is_blank(c)) return false;
    return true;
}

FolderDecision decide_install_folder(std::string_view full_path, std::string_view version, LeadByteTest is_lead) {
    if (names_no_folder(full_path)) return {FolderProblem::empty, {}};
    if (has_refused_character(full_path, is_lead)) return {FolderProblem::invalid_name, {}};
    std::size_t names_begin = after_root(full_path, is_lead);
    if (names_begin == std::string_view::npos) return {FolderProblem::not_a_full_path, {}};

    std::string folder(full_path);
    if (folder.size() > names_begin && ends_with_backslash(folder, is_lead)) folder.pop_back();

    // Walk the names below the root, character by character.
    std::size_t start = names_begin;
    if (start < folder.size() && folder[start] == '\\') ++start;
    while (start < folder.size()) {
        std::size_t end = find_backslash(folder, start, is_lead);
        if (end == std::string_view::npos) end = folder.size();
        std::string_view name = std::string_view(folder).substr(start, end - start);
        if (name == "." || name == "..") return {FolderProblem::not_a_full_path, {}};
        if (is_device_name(name)) return {FolderProblem::invalid_name, {}};
        start = end + 1;
    }

    if (executable_path(folder, version, is_lead).size() > max_path_bytes) return {FolderProblem::too_long, {}};
    return {FolderProblem::none, folder};
}

}  // namespace quorvane
