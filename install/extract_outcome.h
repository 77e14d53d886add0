#pragma once
// What the extract operation reports: its result code, why it gave up and at
// which entry. Portable, so callers and tests can use it without windows.h.
#include <string>

namespace quorvane {

enum class ExtractCause {
    none,
    no_input,                  // target folder empty, or nothing at the archive path
    cannot_make_folder,        // the target folder or a folder entry's folder
    not_an_archive,            // the header test failed or the file cannot be read
    damaged_archive,           // no usable directory, bad data, CRC mismatch, encrypted data
    unsafe_entry_name,         // would leave the target folder, or too long
    file_in_use_or_read_only,  // a file in the way that cannot be replaced
    disk_full,
    cannot_write,
};

struct ExtractOutcome {
    int result;  // 1: the walk came to its end; 0: gave up; -1: an input was missing
    ExtractCause cause;
    std::string entry_name;  // the entry it gave up at, as stored in the archive
};

// A short English phrase for messages of the command-line tools.
const char* describe(ExtractCause cause);

}  // namespace quorvane
