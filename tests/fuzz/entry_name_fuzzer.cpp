// Entry names and target folders as any bytes: a name that passes the check
// must land inside the folder, within the path limit, with no way out left.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "entry_path.h"
#include "folder_chain.h"

using namespace quorvane;

namespace {

void require(bool holds) {
    if (!holds) std::abort();
}

// Parts cut at every "/" and "\" byte, as the strictest reader would.
bool has_dot_dot_part(std::string_view s) {
    std::size_t start = 0;
    while (start <= s.size()) {
        std::size_t end = s.find_first_of("/\\", start);
        if (end == std::string_view::npos) end = s.size();
        if (s.substr(start, end - start) == "..") return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    std::size_t folder_size = data[0] % (input.size() + 1);
    std::string_view folder = input.substr(0, folder_size), name = input.substr(folder_size);

    if (check_entry_name(name, gbk_lead_byte) == NameVerdict::ok) {
        require(!name.empty() && name.size() <= max_name_bytes);
        require(name.front() != '/' && name.front() != '\\');
        require(name.find(':') == std::string_view::npos && !has_dot_dot_part(name));
        if (auto path = output_path(folder, name, gbk_lead_byte)) {
            std::string base = with_trailing_backslash(folder, gbk_lead_byte);
            require(path->size() <= max_path_bytes && path->compare(0, base.size(), base) == 0);
            require(path->find('/', base.size()) == std::string::npos);
        }
    }

    if (auto prefixes = folder_chain_prefixes(folder, gbk_lead_byte)) {
        require(!prefixes->empty());
        for (std::size_t i = 0; i < prefixes->size(); ++i) {
            const std::string& p = (*prefixes)[i];
            require(p.size() <= max_path_bytes && p.back() == '\\');
            if (i > 0) require(p.size() > (*prefixes)[i - 1].size() && p.starts_with((*prefixes)[i - 1]));
        }
    }
    if (auto parent = creation_parent(folder, gbk_lead_byte)) require(parent->size() < folder.size());
    return 0;
}
