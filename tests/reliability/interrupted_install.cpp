// interrupted_install [SEED [COUNT]]
//
// The real setup, carrying a payload of some tens of MB, installs into a
// folder and is ended at a moment drawn from SEED while it works: by closing
// its window (what the close box does) or by killing the process, in turn.
// Then the setup runs again into the same folder to its finish page; each
// time the folder must hold exactly the payload's files, byte for byte.
// Prints where the interruptions landed; exits 0 when every re-run repaired
// the folder.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "services.h"
#include "setup_driver.h"
#include "setup_process.h"
#include "win32_files.h"
#include "zip_damage.h"

namespace quorvane::testing {
namespace {

const std::string setup_caption = "Quorvane V1.4 Setup";

std::string built(const char* relative) {
    std::string path = own_folder() + "\\" + relative;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

using Files = std::map<std::string, std::string>;

// The files of a folder (not its subfolders, the payload has none) with
// their contents; a file with odd attributes gets a mark in its content.
Files files_of(const std::string& folder) {
    Files files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            files[name] = "<folder>";
            continue;
        }
        auto bytes = read_whole_file(folder + "\\" + name);
        files[name] = bytes ? std::string(bytes->begin(), bytes->end()) : "<unreadable>";
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
            files[name] += "<attributes " + std::to_string(found.dwFileAttributes) + ">";
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return files;
}

// What differs between the folder and the payload's files, in words.
std::vector<std::string> differences(const Files& want, const Files& got) {
    std::vector<std::string> out;
    for (const auto& [name, content] : want) {
        auto it = got.find(name);
        if (it == got.end()) out.push_back(name + " missing");
        else if (it->second != content)
            out.push_back(name + " differs (" + std::to_string(it->second.size()) + " of " +
                          std::to_string(content.size()) + " bytes)");
    }
    for (const auto& [name, content] : got)
        if (!want.count(name)) out.push_back(name + " should not be there");
    return out;
}

class Setup {
public:
    Setup() : process_(built(LARGE_SETUP), "", "") {}

    // Started, Next clicked, the folder written into the edit box.
    bool to_folder_page(const std::string& folder) {
        if (!process_.started() || !(window_ = process_.wait_for_window(setup_caption, 30000))) return false;
        next_ = find_descendant(window_, "Button", "下一步");
        install_ = find_descendant(window_, "Button", "安装");
        cancel_ = find_descendant(window_, "Button", "取消");
        edit_ = find_descendant(window_, "Edit", nullptr);
        progress_ = find_descendant(window_, PROGRESS_CLASSA, nullptr);
        if (!next_ || !install_ || !cancel_ || !edit_ || !progress_) return false;
        press(next_);
        if (!wait_until([&] { return shown(edit_) && shown(install_); })) return false;
        SendMessageA(edit_, WM_SETTEXT, 0, LPARAM(folder.c_str()));
        return window_text(edit_) == folder;
    }
    void start_install() { press(install_); }
    int progress() const { return int(SendMessageA(progress_, PBM_GETPOS, 0, 0)); }
    bool finished() const { return shown(cancel_) && window_text(cancel_) == "完成" && !shown(progress_); }
    HWND message_box() const { return find_message_box(process_.id()); }
    void done() { press(cancel_); }
    // What the close box does: the system command, then the window closes.
    void close() { PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0); }
    void kill() { process_.kill(); }
    std::optional<DWORD> exit_code(DWORD timeout_ms) const { return process_.wait_for_exit(timeout_ms); }

private:
    // A click as the button itself takes it; the handler has run on return.
    static void press(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

    SetupProcess process_;
    HWND window_ = nullptr, next_ = nullptr, install_ = nullptr, cancel_ = nullptr, edit_ = nullptr, progress_ = nullptr;
};

// A whole install into the folder; empty when it went to the finish page and
// ended with exit code 0 after Done, else what went wrong.
std::string install_to_end(const std::string& folder, DWORD& took_ms) {
    Setup setup;
    if (!setup.to_folder_page(folder)) return "the folder page was not reached";
    DWORD started = GetTickCount();
    setup.start_install();
    HWND box = nullptr;
    bool finished = wait_until([&] { return setup.finished() || (box = setup.message_box()) != nullptr; }, 120000);
    took_ms = GetTickCount() - started;
    if (box) return "message box: " + message_box_text(box);
    if (!finished) return "no finish page within 120 s";
    setup.done();
    auto code = setup.exit_code(15000);
    if (!code || *code != 0) return "Done did not end the program with exit code 0";
    return {};
}

const char* phase_name(int position) {
    switch (position) {
    case 0: return "before the worker began";
    case 20: return "writing the temporary copy";
    case 40: return "extracting";
    case 70: return "shortcut and launcher";
    case 100: return "after the install";
    default: return "elsewhere";
    }
}

int run(std::uint64_t seed, int count) {
    Files payload = files_of(built(LARGE_PAYLOAD_FILES));
    if (payload.size() < 4) {
        std::printf("FAIL the payload's files are missing\n");
        return 1;
    }
    ScratchFolder scratch("interrupted");
    const std::string folder = scratch / "Quorvane 1.4 大";

    // An undisturbed install first: it must be right, and its length sets
    // the range of the moments drawn.
    DWORD full_ms = 0;
    std::string failure = install_to_end(folder, full_ms);
    auto diff = differences(payload, files_of(folder));
    if (!failure.empty() || !diff.empty()) {
        std::printf("FAIL an undisturbed install: %s %s\n", failure.c_str(), diff.empty() ? "" : diff[0].c_str());
        return 1;
    }
    std::printf("an undisturbed install of %zu files takes %lu ms\n", payload.size(), full_ms);

    // The moments are drawn from the shortest install seen so far, so that
    // they fall while it works.
    DWORD shortest_ms = full_ms;
    Random random(seed);
    std::map<std::string, int> landed;
    int failures = 0, closed = 0, killed = 0, repaired = 0;
    for (int i = 0; i < count; ++i) {
        // Every third round starts from nothing, the others from the last
        // finished install: a first install and a re-install interrupted.
        if (i % 3 == 0) remove_tree(folder);
        DWORD delay = DWORD(random.below(shortest_ms + 1));
        bool by_closing = i % 2 == 0;
        {
            Setup setup;
            if (!setup.to_folder_page(folder)) {
                std::printf("FAIL round %d: the folder page was not reached\n", i);
                ++failures;
                continue;
            }
            setup.start_install();
            Sleep(delay);
            int position = setup.progress();
            if (by_closing) setup.close();
            else setup.kill();
            auto code = setup.exit_code(15000);
            if (by_closing && (!code || *code != 0)) {
                std::printf("FAIL round %d: closing the window did not end the program with exit code 0\n", i);
                ++failures;
            }
            ++(by_closing ? closed : killed);
            ++landed[phase_name(position)];
        }
        DWORD took = 0;
        failure = install_to_end(folder, took);
        diff = differences(payload, files_of(folder));
        if (failure.empty() && diff.empty()) {
            ++repaired;
            shortest_ms = std::min(shortest_ms, took);
        }
        else {
            std::printf("FAIL round %d (%s after %lu ms): re-run %s%s\n", i, by_closing ? "closed" : "killed", delay,
                        failure.empty() ? "finished" : failure.c_str(), diff.empty() ? "" : (", " + diff[0]).c_str());
            ++failures;
        }
    }
    // The desktop files of the finished runs are this test's, not the next one's.
    const std::string desktop = special_folder(SpecialFolder::desktop);
    DeleteFileA((desktop + "QuorvaneV1.4.lnk").c_str());
    DeleteFileA((desktop + "QuorvaneV1.4.bat").c_str());
    std::printf("seed %" PRIu64 ": %d installs interrupted (%d by closing the window, %d by killing), %d re-runs "
                "repaired the folder\n",
                seed, count, closed, killed, repaired);
    for (const auto& [phase, n] : landed) std::printf("  %4d  %s\n", n, phase.c_str());
    return failures ? 1 : 0;
}

}  // namespace
}  // namespace quorvane::testing

int main(int argc, char** argv) {
    std::uint64_t seed = argc > 1 ? std::strtoull(argv[1], nullptr, 0) : 1;
    int count = argc > 2 ? std::atoi(argv[2]) : 20;
    setvbuf(stdout, nullptr, _IONBF, 0);
    return quorvane::testing::run(seed, count);
}
