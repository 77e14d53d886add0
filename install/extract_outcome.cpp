#include "extract_outcome.h"

namespace quorvane {

const char* describe(ExtractCause cause) {
    switch (cause) {
        case ExtractCause::none: return "done";
        case ExtractCause::no_input: return "no target folder or no archive";
        case ExtractCause::cannot_make_folder: return "cannot make the folder";
        case ExtractCause::not_an_archive: return "not an archive";
        case ExtractCause::damaged_archive: return "damaged archive";
        case ExtractCause::unsafe_entry_name: return "unsafe entry name";
        case ExtractCause::file_in_use_or_read_only: return "file in use or read-only";
        case ExtractCause::disk_full: return "disk full";
        case ExtractCause::cannot_write: return "cannot write";
    }
    return "unknown";
}

}  // namespace quorvane
