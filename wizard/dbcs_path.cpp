#include "dbcs_path.h"

namespace quorvane {

bool gbk_lead_byte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

std::optional<std::size_t> last_backslash(std::string_view path, LeadByteTest is_lead) {
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\') found = i;
        else if (is_lead(static_cast<unsigned char>(path[i]))) ++i;  // skip the trail byte
    }
    return found;
}

bool ends_with_backslash(std::string_view path, LeadByteTest is_lead) {
    auto last = last_backslash(path, is_lead);
    return last && *last + 1 == path.size();
}

std::string with_trailing_backslash(std::string_view path, LeadByteTest is_lead) {
    std::string result(path);
    if (!ends_with_backslash(path, is_lead)) result += '\\';
    return result;
}

std::string folder_of(std::string_view path, LeadByteTest is_lead) {
    auto last = last_backslash(path, is_lead);
    return last ? std::string(path.substr(0, *last)) : std::string();
}

}  // namespace quorvane
