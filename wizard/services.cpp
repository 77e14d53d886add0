#include "services.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "dbcs_path.h"
#include "system_library.h"
#include "unique_handle.h"

namespace quorvane {

bool system_lead_byte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

namespace {

// The shell (and what it drags in) is loaded on the first folder asked for.
bool shell_folder_path(char* buffer, int csidl) {
    static const SystemFunction<decltype(SHGetSpecialFolderPathA)> get_path("shell32.dll", "SHGetSpecialFolderPathA");
    return get_path && get_path.get()(nullptr, buffer, csidl, FALSE);
}

}  // namespace

std::string special_folder(SpecialFolder which) {
    char buffer[MAX_PATH] = {};
    bool ok = false;
    switch (which) {
    case SpecialFolder::desktop:
        ok = shell_folder_path(buffer, CSIDL_DESKTOPDIRECTORY);
        break;
    case SpecialFolder::application_data:
        ok = shell_folder_path(buffer, CSIDL_APPDATA);
        break;
    case SpecialFolder::temp: {
        DWORD length = GetTempPathA(sizeof buffer, buffer);
        ok = length > 0 && length < sizeof buffer;
        break;
    }
    }
    if (!ok || buffer[0] == '\0') return std::string();
    return with_trailing_backslash(buffer, system_lead_byte);
}

bool create_folder(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != FALSE; }

bool write_file(const std::string& path, std::initializer_list<ByteSpan> arrays) {
    if (path.empty()) return false;
    unique_file file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    for (ByteSpan array : arrays) {
        // WriteFile takes at most 4 GiB - 1 per call; pieces keep large arrays safe.
        while (!array.empty()) {
            DWORD piece = DWORD(std::min<std::size_t>(array.size(), 1u << 30));
            DWORD written = 0;
            if (!WriteFile(file.get(), array.data(), piece, &written, nullptr)) return false;
            // A disk that fills up takes what fits and reports success; the
            // next write then fails with the cause the caller reports.
            if (written == 0) {
                SetLastError(ERROR_WRITE_FAULT);
                return false;
            }
            array = array.subspan(written);
        }
    }
    return true;
}

}  // namespace quorvane
