#pragma once
// The extract operation: every entry of a ZIP file on disk into a folder.
#include <functional>
#include <string>

#include "extract_outcome.h"

namespace quorvane {

// Raised after each entry and once more at the end with the percentage done;
// returning false stops the walk after the current entry (result 1).
using ExtractProgress = std::function<bool(int percent)>;

// Paths are ANSI-code-page bytes, handed to the file API unchanged. Runs to
// its end on the caller's thread and keeps nothing between calls.
ExtractOutcome extract_archive(const std::string& archive_path, const std::string& target_folder,
                               const ExtractProgress& progress = {});

}  // namespace quorvane
