#pragma once
// Reads the parts of a .lnk file that the setup writes, straight from the
// file's bytes, so tests see what the shell would find on disk.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::testing {

struct ShellLinkFile {
    std::string target;  // the link information's local base path and suffix, ANSI
    std::string description;
    std::string relative_path;
    std::string working_folder;
    std::string arguments;
    std::string icon_location;
    std::uint32_t show_command = 0;
    std::uint32_t flags = 0;
};

// Nothing when the bytes are not a shell link or a part runs past the end.
std::optional<ShellLinkFile> parse_shell_link(const std::vector<std::uint8_t>& bytes);

}  // namespace quorvane::testing
