#include "folder_chain.h"

#include "entry_path.h"

namespace quorvane {

std::optional<std::vector<std::string>> folder_chain_prefixes(std::string_view folder, LeadByteTest is_lead) {
    std::string full = with_trailing_backslash(folder, is_lead);
    if (full.size() > max_path_bytes) return std::nullopt;
    std::vector<std::string> prefixes;
    for (std::size_t i = 0; i < full.size(); ++i) {
        if (full[i] == '\\') prefixes.push_back(full.substr(0, i + 1));
        else if (is_lead(static_cast<unsigned char>(full[i]))) ++i;
    }
    // A lone lead byte at the end swallows the appended backslash; the folder
    // itself is still the chain's last step.
    if (prefixes.empty() || prefixes.back().size() != full.size()) prefixes.push_back(full);
    return prefixes;
}

bool is_bare_drive(std::string_view path) { return path.size() == 2 && path[1] == ':'; }

std::optional<std::string> creation_parent(std::string_view path, LeadByteTest is_lead) {
    auto last = last_backslash(path, is_lead);
    if (!last) return std::nullopt;
    if (*last + 1 == path.size()) {
        // A trailing backslash: the parent ends at the backslash before it,
        // again a character of its own, never the trail byte of one.
        last = last_backslash(path.substr(0, *last), is_lead);
        if (!last) return std::nullopt;
    }
    return std::string(path.substr(0, *last));
}

}  // namespace quorvane
