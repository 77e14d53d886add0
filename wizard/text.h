#pragma once
// Texts are std::string of bytes in the ANSI code page (GBK for our texts).
#include <string>
#include <string_view>

namespace quorvane {

// Concatenate: any number of texts, in order, into one new text.
template <class... Parts>
std::string concatenate(const Parts&... parts) {
    std::string result;
    result.reserve((std::string_view(parts).size() + ... + 0));
    (result.append(std::string_view(parts)), ...);
    return result;
}

}  // namespace quorvane
