#pragma once
// The install folder of one run: the edit box read once, made a full path by
// the system, then checked here, so that the extraction, the shortcut and the
// launcher all get the same, usable text.
#include <string>
#include <string_view>

#include "dbcs_path.h"

namespace quorvane {

enum class FolderProblem { none, empty, not_a_full_path, invalid_name, too_long };

// Nothing but blanks in the edit box: no folder was given at all.
bool names_no_folder(std::string_view typed);

struct FolderDecision {
    FolderProblem problem;
    std::string folder;  // without a trailing backslash, except a drive's root ("C:\")
};

// Checks a full path that the system made of the typed text: a drive path
// ("C:\...") or a share ("\\server\share\..."), no character that Windows
// refuses in a name (the file system under us may not refuse it), no device
// name, and short enough that the executable's path fits in MAX_PATH.
FolderDecision decide_install_folder(std::string_view full_path, std::string_view version, LeadByteTest is_lead);

}  // namespace quorvane
