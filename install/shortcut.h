#pragma once
// The desktop shortcut: a shell link saved to a .lnk file. The calling thread
// must have COM initialised (the link object lives in its apartment).
#include <string>

namespace quorvane {

struct ShortcutSettings {
    std::string link_file;  // where the .lnk goes; an earlier file is replaced
    std::string target;
    std::string description;
    std::string arguments;
    std::string working_folder;
    int show_command;
};

// False when any part of the link cannot be set or the file cannot be saved.
bool create_shortcut(const ShortcutSettings& settings);

}  // namespace quorvane
