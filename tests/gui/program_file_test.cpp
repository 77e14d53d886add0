// The resources of the built setup programs: the manifest must name the
// processor architecture of its own build (a mismatch stops the program
// from starting on Windows), the version block and the icon must be ours.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/setup_process.h"
#include "../support/win32_files.h"

namespace quorvane {
namespace {

// Loaded as data only, so a program of the other architecture reads as well.
class ResourceFile {
public:
    explicit ResourceFile(const std::string& path)
        : module_(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~ResourceFile() {
        if (module_) FreeLibrary(module_);
    }
    ResourceFile(const ResourceFile&) = delete;
    ResourceFile& operator=(const ResourceFile&) = delete;
    explicit operator bool() const { return module_ != nullptr; }

    std::string bytes(const char* type, int id) const {
        HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(id), type);
        if (!found) return {};
        HGLOBAL loaded = LoadResource(module_, found);
        const char* data = static_cast<const char*>(LockResource(loaded));
        return data ? std::string(data, SizeofResource(module_, found)) : std::string();
    }

private:
    HMODULE module_;
};

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

std::string in_build(const char* relative) {
    std::string path = testing::own_folder() + "\\" + relative;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

struct Program {
    const char* what;
    std::string path;
    const char* architecture;
    const char* other_architecture;
};

std::vector<Program> programs() {
    std::vector<Program> list{{"this build", in_build(SETUP_PROGRAM), SETUP_ARCH, SETUP_OTHER_ARCH}};
#ifdef I686_SETUP_PROGRAM
    list.push_back({"the i686 build", in_build(I686_SETUP_PROGRAM), "x86", "amd64"});
#endif
    return list;
}

TEST(ProgramFile, ManifestAsksForCommonControls6OfItsOwnArchitecture) {
    for (const auto& p : programs()) {
        SCOPED_TRACE(std::string(p.what) + ": " + p.path);
        ASSERT_TRUE(testing::exists(p.path)) << "build that configuration first";
        ResourceFile file(p.path);
        ASSERT_TRUE(file);
        std::string manifest = file.bytes(MAKEINTRESOURCEA(24), 1);  // RT_MANIFEST, for process creation
        ASSERT_FALSE(manifest.empty());
        EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos)
            << manifest;
        // The program's own identity and the dependency both.
        const std::string own = std::string("processorArchitecture=\"") + p.architecture + "\"";
        const std::string other = std::string("processorArchitecture=\"") + p.other_architecture + "\"";
        EXPECT_EQ(occurrences(manifest, own), 2u) << manifest;
        EXPECT_EQ(occurrences(manifest, other), 0u) << manifest;
        EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos) << "no elevation asked for";
    }
}

TEST(ProgramFile, VersionBlockAndIcon) {
    for (const auto& p : programs()) {
        SCOPED_TRACE(std::string(p.what) + ": " + p.path);
        DWORD size = GetFileVersionInfoSizeA(p.path.c_str(), nullptr);
        ASSERT_GT(size, 0u);
        std::vector<char> block(size);
        ASSERT_TRUE(GetFileVersionInfoA(p.path.c_str(), 0, size, block.data()));

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
        EXPECT_EQ(fixed->dwFileVersionLS, 0u);
        EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
        EXPECT_EQ(fixed->dwProductVersionLS, 0u);

        struct Translation {
            WORD language, code_page;
        }* translation = nullptr;
        ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                                   &length));
        ASSERT_GE(length, sizeof *translation);
        char prefix[64];
        wsprintfA(prefix, "\\StringFileInfo\\%04x%04x\\", translation->language, translation->code_page);
        struct Field {
            const char* name;
            const char* value;
        };
        const Field fields[] = {{"FileDescription", "Quorvane Setup"}, {"ProductName", "Quorvane Setup"},
                                {"Comments", "Quorvane Setup"},        {"FileVersion", "1.0.0.0"},
                                {"ProductVersion", "1.0.0.0"}};
        for (const auto& f : fields) {
            char* value = nullptr;
            EXPECT_TRUE(VerQueryValueA(block.data(), (std::string(prefix) + f.name).c_str(),
                                       reinterpret_cast<void**>(&value), &length))
                << f.name;
            EXPECT_STREQ(value ? value : "", f.value) << f.name;
        }

        // One icon image, 32 x 32 with 32 bits per pixel.
        ResourceFile file(p.path);
        ASSERT_TRUE(file);
        std::string group = file.bytes(MAKEINTRESOURCEA(14), 1);  // RT_GROUP_ICON
        ASSERT_GE(group.size(), 6u + 14u);
        auto word = [&](std::size_t at) { return unsigned(std::uint8_t(group[at])) | unsigned(std::uint8_t(group[at + 1])) << 8; };
        EXPECT_EQ(word(4), 1u) << "one image";
        EXPECT_EQ(std::uint8_t(group[6]), 32u);
        EXPECT_EQ(std::uint8_t(group[7]), 32u);
        EXPECT_EQ(word(6 + 6), 32u) << "bits per pixel";
    }
}

}  // namespace
}  // namespace quorvane
