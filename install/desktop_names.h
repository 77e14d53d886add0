#pragma once
// The names the install leaves behind: the product's executable inside the
// install folder, and the two files on the desktop that start it.
#include <string>
#include <string_view>

#include "dbcs_path.h"

namespace quorvane {

// "Quorvane" + version: the executable's base name and the shortcut's description.
std::string product_name(std::string_view version);

// install folder + "\Quorvane<version>.exe"; a folder that already ends with
// a backslash (a drive's root) gets no second one.
std::string executable_path(std::string_view install_folder, std::string_view version, LeadByteTest is_lead);

// desktop (ending with its backslash) + "QuorvaneV<version>.lnk" / ".bat".
std::string shortcut_file(std::string_view desktop, std::string_view version);
std::string launcher_file(std::string_view desktop, std::string_view version);

// The launcher's one line: start "" "<executable>". The empty title keeps
// start from reading the quoted path as a window title, the quotes keep a
// folder with spaces in one piece, and each % is doubled because a batch
// file expands %...% even inside quotes.
std::string launcher_text(std::string_view executable);

}  // namespace quorvane
