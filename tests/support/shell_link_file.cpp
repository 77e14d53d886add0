#include "shell_link_file.h"

#include <windows.h>

#include <cstring>

namespace quorvane::testing {

namespace {

constexpr std::uint32_t has_id_list = 0x01, has_link_info = 0x02, has_name = 0x04, has_relative_path = 0x08,
                        has_working_dir = 0x10, has_arguments = 0x20, has_icon_location = 0x40, is_unicode = 0x80;

// The 16 bytes of the shell link class identifier, 00021401-0000-0000-C000-000000000046.
constexpr std::uint8_t link_class[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                         0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    bool has(std::size_t at, std::size_t count) const { return at <= bytes_.size() && count <= bytes_.size() - at; }
    std::uint16_t u16(std::size_t at) const { return std::uint16_t(bytes_[at] | bytes_[at + 1] << 8); }
    std::uint32_t u32(std::size_t at) const { return std::uint32_t(u16(at)) | std::uint32_t(u16(at + 2)) << 16; }
    // A zero-ended ANSI string that must end inside [at, limit).
    std::optional<std::string> ansi(std::size_t at, std::size_t limit) const {
        for (std::size_t i = at; i < limit && i < bytes_.size(); ++i)
            if (bytes_[i] == 0) return std::string(bytes_.begin() + long(at), bytes_.begin() + long(i));
        return std::nullopt;
    }
    const std::uint8_t* data(std::size_t at) const { return bytes_.data() + at; }

private:
    const std::vector<std::uint8_t>& bytes_;
};

std::string ansi_from_wide(const std::wstring& wide) {
    if (wide.empty()) return {};
    int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(std::size_t(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), text.data(), length, nullptr, nullptr);
    return text;
}

}  // namespace

std::optional<ShellLinkFile> parse_shell_link(const std::vector<std::uint8_t>& bytes) {
    Reader in(bytes);
    if (!in.has(0, 76) || in.u32(0) != 76 || std::memcmp(in.data(4), link_class, 16) != 0) return std::nullopt;
    ShellLinkFile link;
    link.flags = in.u32(20);
    link.show_command = in.u32(60);
    std::size_t at = 76;

    if (link.flags & has_id_list) {
        if (!in.has(at, 2)) return std::nullopt;
        at += 2 + in.u16(at);
    }
    if (link.flags & has_link_info) {
        if (!in.has(at, 28)) return std::nullopt;
        std::uint32_t size = in.u32(at);
        if (!in.has(at, size) || size < 28) return std::nullopt;
        std::uint32_t info_flags = in.u32(at + 8);
        std::uint32_t base_offset = in.u32(at + 16);
        std::uint32_t suffix_offset = in.u32(at + 24);
        std::string base, suffix;
        if (info_flags & 1) {  // VolumeIDAndLocalBasePath
            auto text = in.ansi(at + base_offset, at + size);
            if (!text) return std::nullopt;
            base = *text;
        }
        if (auto text = in.ansi(at + suffix_offset, at + size)) suffix = *text;
        link.target = base + suffix;
        at += size;
    }

    std::string* strings[] = {&link.description, &link.relative_path, &link.working_folder, &link.arguments,
                              &link.icon_location};
    const std::uint32_t string_flags[] = {has_name, has_relative_path, has_working_dir, has_arguments,
                                          has_icon_location};
    for (int i = 0; i < 5; ++i) {
        if (!(link.flags & string_flags[i])) continue;
        if (!in.has(at, 2)) return std::nullopt;
        std::size_t count = in.u16(at);
        at += 2;
        if (link.flags & is_unicode) {
            if (!in.has(at, count * 2)) return std::nullopt;
            std::wstring wide;
            for (std::size_t k = 0; k < count; ++k) wide += wchar_t(in.u16(at + 2 * k));
            // Some writers count a terminating zero too: the text ends there.
            *strings[i] = ansi_from_wide(wide.substr(0, wide.find(L'\0')));
            at += count * 2;
        } else {
            if (!in.has(at, count)) return std::nullopt;
            strings[i]->assign(reinterpret_cast<const char*>(in.data(at)), count);
            strings[i]->resize(std::strlen(strings[i]->c_str()));
            at += count;
        }
    }
    return link;
}

}  // namespace quorvane::testing
