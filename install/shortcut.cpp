#include "shortcut.h"

#include <windows.h>
#include <shlobj.h>


#include "unique_handle.h"

namespace quorvane {

namespace {

// The file name for IPersistFile::Save, from the ANSI code page to UTF-16.
std::wstring wide_from_ansi(const std::string& text) {
    if (text.empty()) return {};
    int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

}  // namespace

bool create_shortcut(const ShortcutSettings& settings) {
    std::wstring file = wide_from_ansi(settings.link_file);
    if (file.empty()) return false;

    // __uuidof, not CLSID_ShellLink and the IID_ constants: those come from the
    // system's GUID library in object files of a thousand GUIDs each (40 KB).
    IShellLinkA* raw_link = nullptr;
    if (FAILED(CoCreateInstance(__uuidof(ShellLink), nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkA),
                                reinterpret_cast<void**>(&raw_link))))
        return false;
    com_ptr<IShellLinkA> link(raw_link);

    IPersistFile* raw_file = nullptr;
    if (FAILED(link.get()->QueryInterface(__uuidof(IPersistFile), reinterpret_cast<void**>(&raw_file)))) return false;
    com_ptr<IPersistFile> persist(raw_file);

    // A link missing any of these would open the wrong thing, or nothing.
    if (FAILED(link.get()->SetPath(settings.target.c_str()))) return false;
    if (FAILED(link.get()->SetShowCmd(settings.show_command))) return false;
    if (FAILED(link.get()->SetDescription(settings.description.c_str()))) return false;
    if (FAILED(link.get()->SetArguments(settings.arguments.c_str()))) return false;
    if (FAILED(link.get()->SetWorkingDirectory(settings.working_folder.c_str()))) return false;

    return SUCCEEDED(persist.get()->Save(file.c_str(), TRUE));
}

}  // namespace quorvane
