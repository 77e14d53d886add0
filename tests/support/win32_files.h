#pragma once
// File helpers for the Windows tests: a fresh scratch folder per test and
// whole-file reads, all through the ANSI API like the program itself.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::testing {

// A new empty folder under the temp folder, removed with all it holds.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& tag);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

void remove_tree(const std::string& path);
std::optional<std::vector<std::uint8_t>> read_whole_file(const std::string& path);
bool put_file(const std::string& path, const std::string& bytes);
bool exists(const std::string& path);
bool is_folder(const std::string& path);

}  // namespace quorvane::testing
