// Whatever the user types (made a full path by the system) and whatever the
// version: a folder that is accepted gives an executable path that fits the
// file API and a launcher line that starts exactly that program.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "desktop_names.h"
#include "install_folder.h"

using namespace quorvane;

namespace {

void require(bool holds) {
    if (!holds) std::abort();
}

std::size_t count(std::string_view text, char c) {
    std::size_t n = 0;
    for (char x : text) n += x == c;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    // Mostly the real version; any bytes now and then.
    std::string_view version = data[0] < 200 ? std::string_view("1.4") : input.substr(0, data[0] % 8);

    FolderDecision decision = decide_install_folder(input, version, gbk_lead_byte);
    if (names_no_folder(input)) require(decision.problem == FolderProblem::empty);
    if (decision.problem != FolderProblem::none) {
        require(decision.folder.empty());
        return 0;
    }
    const std::string& folder = decision.folder;
    require(folder.size() >= 3 && folder.size() <= input.size());
    require((folder[1] == ':' && folder[2] == '\\') || folder.starts_with("\\\\"));
    // None of these can be a GBK trail byte (those start at 0x40), so none may
    // be there at all.
    for (char c : folder) require(static_cast<unsigned char>(c) >= 0x20 && c != '"' && c != '/' && c != '<' && c != '>');

    std::string executable = executable_path(folder, version, gbk_lead_byte);
    require(executable.size() <= 259);
    require(executable.starts_with(folder));
    require(executable.find('"') == std::string::npos);  // the launcher's quotes stay balanced

    std::string line = launcher_text(executable);
    const std::string_view opening = "start \"\" \"";
    require(line.starts_with(opening) && line.back() == '"');
    require(count(line, '"') == 4);
    // Each % doubled, so the batch file expands nothing of the path.
    require(count(line, '%') == 2 * count(executable, '%'));
    require(line.find('\r') == std::string::npos && line.find('\n') == std::string::npos);
    return 0;
}
