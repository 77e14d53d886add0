#pragma once
// The path decisions behind making folders: the chain of prefixes that makes
// a folder and its parents, and the parent that recursive creation falls back
// to when a folder's parent is missing.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dbcs_path.h"

namespace quorvane {

// The folder with a trailing backslash, cut after each of its backslashes in
// turn (character by character): "C:\q\new" gives "C:\", "C:\q\", "C:\q\new\".
// Nothing when the longest prefix would exceed the file API's path limit.
std::optional<std::vector<std::string>> folder_chain_prefixes(std::string_view folder, LeadByteTest is_lead);

// A bare drive such as "C:", which exists without being made.
bool is_bare_drive(std::string_view path);

// The part before the path's last backslash, or before the one in front of it
// when the path ends with a backslash; nothing when there is no such one.
std::optional<std::string> creation_parent(std::string_view path, LeadByteTest is_lead);

}  // namespace quorvane
