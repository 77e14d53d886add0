#include "archive_copy.h"

#include "builtin_archive.h"
#include "services.h"

namespace quorvane {

std::string temporary_archive_path() {
    return special_folder(SpecialFolder::temp) + "\\ifisfisjfisfjisajhduosajfiasj.tmp";
}

bool write_temporary_copy() {
    auto elements = byte_array_elements(builtin_archive_value());
    return elements && write_file(temporary_archive_path(), {*elements});
}

}  // namespace quorvane
