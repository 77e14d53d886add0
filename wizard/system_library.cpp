#include "system_library.h"

#include <string>

#include "dbcs_path.h"
#include "services.h"

namespace quorvane {

FARPROC system_function(const char* file, const char* name) {
    char folder[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return nullptr;
    std::string path = with_trailing_backslash(std::string_view(folder, length), system_lead_byte) + file;
    // Kept for the life of the process on purpose; see the header.
    HMODULE library = LoadLibraryA(path.c_str());
    return library ? GetProcAddress(library, name) : nullptr;
}

}  // namespace quorvane
