#pragma once
// What the user is told when the install stops or is only partly done: in
// Chinese (GBK bytes), naming the place and the cause in plain words.
#include <string>
#include <string_view>
#include <vector>

#include "extract_outcome.h"

namespace quorvane {

enum class FailureCause {
    no_folder,                 // the edit box was empty
    not_a_full_path,
    invalid_folder_name,
    folder_path_too_long,
    cannot_make_folder,
    cannot_write,
    disk_full,
    file_in_use_or_read_only,  // file_name says which, when known
    unusable_entry_name,       // a file's path too long here, or a name that would leave the folder
    damaged_archive,
    copy_missing,              // the temporary copy vanished before extraction
    cannot_start,              // no thread for the install
};

enum class FailurePlace { install_folder, temporary_copy };

struct InstallFailure {
    FailurePlace place;
    FailureCause cause;
    std::string path;       // the install folder or the temporary copy; may be empty
    std::string file_name;  // the product file that could not be replaced
};

// Why an extraction that gave up did so, in the words the user is given.
FailureCause failure_cause_of(ExtractCause cause);

// The installation did not happen: where, why, and what the user can do now.
std::string install_failure_message(const InstallFailure& failure);

// The product is installed, but these desktop files could not be written.
std::string desktop_failure_message(std::string_view product, std::string_view install_folder,
                                    const std::vector<std::string>& unwritten_files);

}  // namespace quorvane
