#include "desktop_names.h"

#include "text.h"

namespace quorvane {

std::string product_name(std::string_view version) { return concatenate("Quorvane", version); }

std::string executable_path(std::string_view install_folder, std::string_view version, LeadByteTest is_lead) {
    std::string_view separator = ends_with_backslash(install_folder, is_lead) ? "" : "\\";
    return concatenate(install_folder, separator, product_name(version), ".exe");
}

std::string shortcut_file(std::string_view desktop, std::string_view version) {
    return concatenate(desktop, "QuorvaneV", version, ".lnk");
}

std::string launcher_file(std::string_view desktop, std::string_view version) {
    return concatenate(desktop, "QuorvaneV", version, ".bat");
}

std::string launcher_text(std::string_view executable) {
    // '%' (0x25) is never a GBK trail byte, so a byte-wise scan is exact.
    std::string line = "start \"\" \"";
    for (char c : executable) {
        line += c;
        if (c == '%') line += '%';
    }
    line += '"';
    return line;
}

}  // namespace quorvane
