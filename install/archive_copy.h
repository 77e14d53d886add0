#pragma once
// The built-in archive's temporary copy, which the extraction then reads.
#include <string>

namespace quorvane {

// The temp folder as the system reports it (with its trailing backslash),
// then "\ifisfisjfisfjisajhduosajfiasj.tmp": two backslashes in a row, which
// the file system takes as one. Every build of it gives the same text.
std::string temporary_archive_path();

// Writes the built-in archive's elements to that path, replacing any earlier
// copy.
bool write_temporary_copy();

}  // namespace quorvane
