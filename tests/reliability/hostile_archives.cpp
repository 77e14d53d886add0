// hostile_archives [SEED [COUNT [SAMPLE [FIRST]]]]
//
// Derives COUNT damaged archives, numbers FIRST on, from a few valid ones
// (SEED fixes them all; any one can be made again from its seed and number)
// and runs the extract operation on each, in this process, into a fresh
// folder inside a sandbox; then runs unpack.exe itself on SAMPLE of them.
// Every run must end within a time bound with 1, 0 or -1; nothing may appear
// outside its target folder; every file left in the target folder must be an
// entry of the original archive, byte for byte, and writable and visible.
// Prints the results by kind; exits 0 when no run broke a rule. An archive
// that breaks one is kept in the current folder for a closer look.
#include <windows.h>

#include <zlib.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "extract.h"
#include "win32_files.h"
#include "zip_damage.h"

namespace quorvane::testing {
namespace {

constexpr DWORD run_bound_ms = 30000;

std::string deflate_raw(const std::string& content) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, uLong(content.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
    z.avail_in = uInt(content.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::string noise(Random& random, std::size_t size) {
    std::string out(size, '\0');
    for (char& c : out) c = char(random.next());
    return out;
}

std::string prose(Random& random, std::size_t size) {
    const char* words[] = {"setup ", "folder ", "archive ", "entry ", "quorvane ", "1.4 ", "data\r\n"};
    std::string out;
    while (out.size() < size) out += words[random.below(7)];
    out.resize(size);
    return out;
}

ArchiveEntry deflated(std::string name, std::string content, std::uint32_t attributes = 0x20) {
    std::string packed = deflate_raw(content);
    return deflated_entry(std::move(name), std::move(content), std::move(packed), attributes);
}

// Stored and deflated entries, folders, nested and double-byte names, empty
// and highly compressible files, one entry over several 16 KiB pieces.
std::vector<ArchiveModel> originals() {
    Random random(2024);
    ArchiveModel product;
    product.entries = {deflated("Quorvane1.4.dat", prose(random, 8000)),
                       deflated("QuorvaneCore.dll", noise(random, 40000)),
                       deflated("Quorvane1.4.exe", prose(random, 30000) + noise(random, 40000))};

    ArchiveModel mixed;
    ArchiveEntry with_times = deflated("a/b/c.bin", noise(random, 50000));
    with_times.local.extra = std::string("UT\x05\x00\x01\x00\x00\x00\x60", 9);
    mixed.entries = {folder_entry("docs/"),
                     stored_entry("docs/readme.txt", prose(random, 300)),
                     with_times,
                     stored_entry("empty.txt", ""),
                     deflated("说明/文件.txt", prose(random, 2000)),
                     // The trail byte of the first character is 0x5C.
                     deflated("\xB1\x5C" "data.bin", noise(random, 100)),
                     deflated("zeros.bin", std::string(300000, '\0'))};

    ArchiveModel stored;
    stored.entries = {stored_entry("one.bin", noise(random, 40000)), stored_entry("two.txt", "two\r\n")};

    ArchiveModel many;
    for (int i = 0; i < 30; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "f%d/%02d.txt", i % 4, i);
        many.entries.push_back(i % 3 ? deflated(name, prose(random, 50 + 37 * i)) : stored_entry(name, prose(random, 20 + i)));
    }
    return {product, mixed, stored, many};
}

std::string to_string(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// What one run leaves: every file under the folder with its path relative
// to it, and any file that is not writable and visible.
struct Tree {
    std::map<std::string, std::string> files;
    std::vector<std::string> odd_attributes;
};

// Reads and deletes in one opening: Wine makes every file call a round trip
// to its server, and the runs are many.
std::optional<std::string> read_and_delete(const std::string& path, DWORD attributes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | DELETE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        auto bytes = read_whole_file(path);
        SetFileAttributesA(path.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
        DeleteFileA(path.c_str());
        return bytes ? std::optional<std::string>(to_string(*bytes)) : std::nullopt;
    }
    std::string content;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
    CloseHandle(file);
    return content;
}

// Collects the folder's tree and removes it.
void take(const std::string& folder, const std::string& relative, Tree& tree) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name, rel = relative.empty() ? name : relative + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                take(path, rel, tree);
                continue;
            }
            tree.files[rel] = read_and_delete(path, found.dwFileAttributes).value_or("<unreadable>");
            // Wine reports a name that starts with a dot as hidden, as Unix does.
            DWORD odd = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM | (name[0] == '.' ? 0 : FILE_ATTRIBUTE_HIDDEN);
            if (found.dwFileAttributes & odd) tree.odd_attributes.push_back(rel);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

std::string windows_path(std::string name) {
    for (char& c : name)
        if (c == '/') c = '\\';
    return name;
}

// The folders that a run may touch only inside its target, and the places
// that absolute and drive-relative names would reach.
class Sandbox {
public:
    Sandbox() : scratch_("hostile") {
        CreateDirectoryA((scratch_ / "sandbox").c_str(), nullptr);
        CreateDirectoryA((scratch_ / "sandbox\\x").c_str(), nullptr);
        CreateDirectoryA((scratch_ / "sandbox\\x\\y").c_str(), nullptr);
        for (std::string p = scratch_.path(); !p.empty();) {
            watched_.push_back(p);
            auto cut = p.find_last_of('\\');
            p = cut == std::string::npos || cut < 3 ? std::string() : p.substr(0, cut);
        }
        char full[MAX_PATH];
        for (const char* place : {"C:\\", "Z:\\", "C:", "Z:", ".", "\\"}) {
            if (GetFullPathNameA(place, sizeof full, full, nullptr)) watched_.push_back(full);
        }
        std::sort(watched_.begin(), watched_.end());
        watched_.erase(std::unique(watched_.begin(), watched_.end()), watched_.end());
    }
    std::string archive() const { return scratch_ / "archive.zip"; }
    std::string target() const { return scratch_ / "sandbox\\x\\y\\run"; }
    std::string second_target() const { return scratch_ / "sandbox\\x\\y\\again"; }
    // One file per run: Wine may keep a child's output file open a moment
    // after the child has ended.
    std::string output(std::uint64_t run) const { return scratch_ / ("unpack-" + std::to_string(run) + ".out"); }

    // Whatever is in the scratch folder besides the skeleton, the archive and
    // the allowed targets, and any marked name in the watched places.
    // Only names made to escape carry the marker, so the places beyond the
    // scratch folder are searched only when the archive holds it.
    std::vector<std::string> escapes(bool marked) const {
        std::vector<std::string> found;
        collect_outside(scratch_.path(), found);
        for (const auto& place : marked ? watched_ : std::vector<std::string>{}) {
            WIN32_FIND_DATAA hit;
            std::string pattern = place + (place.back() == '\\' ? "" : "\\") + escape_marker + "*";
            HANDLE search = FindFirstFileA(pattern.c_str(), &hit);
            if (search != INVALID_HANDLE_VALUE) {
                found.push_back(place + " holds " + hit.cFileName);
                FindClose(search);
            }
        }
        return found;
    }

    // Anything reported would be reported again by every later run: remove
    // what got out, in the scratch folder and in the watched places.
    void clear_escapes() const {
        std::vector<std::string> outside;
        collect_outside(scratch_.path(), outside);
        for (const auto& path : outside) remove_tree(path);
        for (const auto& place : watched_) {
            WIN32_FIND_DATAA hit;
            std::string base = place + (place.back() == '\\' ? "" : "\\");
            HANDLE search = FindFirstFileA((base + escape_marker + "*").c_str(), &hit);
            if (search == INVALID_HANDLE_VALUE) continue;
            do remove_tree(base + hit.cFileName);
            while (FindNextFileA(search, &hit));
            FindClose(search);
        }
    }
    std::string scratch_parent() const { return scratch_.path().substr(0, scratch_.path().find_last_of('\\')); }

private:
    void collect_outside(const std::string& folder, std::vector<std::string>& found) const {
        const std::set<std::string> allowed = {archive(), scratch_ / "sandbox", scratch_ / "sandbox\\x",
                                               scratch_ / "sandbox\\x\\y"};
        WIN32_FIND_DATAA hit;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &hit);
        if (search == INVALID_HANDLE_VALUE) return;
        do {
            std::string name = hit.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            if (path == target() || path == second_target()) continue;
            if (!allowed.count(path) && path.rfind(scratch_ / "unpack-", 0) != 0) found.push_back(path);
            if (hit.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) collect_outside(path, found);
        } while (FindNextFileA(search, &hit));
        FindClose(search);
    }

    ScratchFolder scratch_;
    std::vector<std::string> watched_;
};

// Ends the process when one run takes longer than the bound: a hang is a
// failure to report, not a test that never ends.
class Watchdog {
public:
    Watchdog() {
        InitializeCriticalSection(&lock_);
        CloseHandle(CreateThread(nullptr, 0, watch, this, 0, nullptr));
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    // The watching thread lives as long as the process: no destructor.

    void begin(std::uint64_t seed, std::uint64_t index, const std::string& what) {
        EnterCriticalSection(&lock_);
        seed_ = seed;
        index_ = index;
        what_ = what;
        started_ = GetTickCount64();
        LeaveCriticalSection(&lock_);
    }
    void end() {
        EnterCriticalSection(&lock_);
        started_ = 0;
        LeaveCriticalSection(&lock_);
    }

private:
    static DWORD WINAPI watch(void* self_pointer) {
        auto* self = static_cast<Watchdog*>(self_pointer);
        for (;;) {
            Sleep(250);
            EnterCriticalSection(&self->lock_);
            if (self->started_ && GetTickCount64() - self->started_ > run_bound_ms) {
                std::printf("FAIL archive %" PRIu64 " (%s) did not finish within %lu ms; again alone: "
                            "hostile_archives %" PRIu64 " 1 0 %" PRIu64 "\n",
                            self->index_, self->what_.c_str(), run_bound_ms, self->seed_, self->index_);
                std::fflush(stdout);
                TerminateProcess(GetCurrentProcess(), 3);
            }
            LeaveCriticalSection(&self->lock_);
        }
    }

    CRITICAL_SECTION lock_;
    std::uint64_t seed_ = 0, index_ = 0;
    std::string what_;
    ULONGLONG started_ = 0;
};

struct Tally {
    std::map<std::string, int> by_result;
    std::map<std::string, std::map<std::string, int>> by_kind;
    int failures = 0;
    ULONGLONG slowest_ms = 0;
    ULONGLONG extracting_ms = 0;
};

std::string result_class(const ExtractOutcome& outcome, bool complete) {
    if (outcome.result == 1) return complete ? "1 (every entry written)" : "1 (walk ended early)";
    if (outcome.result == -1) return "-1";
    return "0 " + std::string(describe(outcome.cause));
}

// The rules every run keeps, whatever the archive held; returns the broken ones.
bool holds_marker(const Bytes& bytes) {
    std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return all.find(escape_marker) != std::string_view::npos;
}

std::vector<std::string> broken_rules(const ExtractOutcome& outcome, const Sandbox& sandbox, const std::string& target,
                                      const ArchiveModel& original, bool marked, bool& complete) {
    std::vector<std::string> broken;
    if (outcome.result < -1 || outcome.result > 1) broken.push_back("result " + std::to_string(outcome.result));
    for (const auto& escape : sandbox.escapes(marked)) broken.push_back("outside the target: " + escape);
    if (outcome.result == -1 && exists(target)) broken.push_back("result -1 but the target folder was made");
    Tree tree;
    take(target, "", tree);
    std::set<std::string> contents;
    for (const auto& e : original.entries) contents.insert(e.content);
    for (const auto& [path, content] : tree.files)
        if (!contents.count(content)) broken.push_back("not an entry of the archive: " + path);
    for (const auto& path : tree.odd_attributes) broken.push_back("read-only, hidden or system: " + path);
    complete = true;
    for (const auto& e : original.entries) {
        bool folder = e.external_attributes & 0x10;
        auto it = tree.files.find(windows_path(e.central.name));
        if (!folder && (it == tree.files.end() || it->second != e.content)) complete = false;
    }
    return broken;
}

void keep(const DamagedArchive& d, std::uint64_t seed, std::uint64_t index) {
    std::string name = "hostile-" + std::to_string(seed) + "-" + std::to_string(index) + ".zip";
    put_file(name, to_string(d.bytes));
    std::printf("     kept as %s\n", name.c_str());
}

void report_failure(Tally& tally, std::uint64_t index, const DamagedArchive& d, const std::vector<std::string>& broken,
                    std::uint64_t seed, const char* how) {
    ++tally.failures;
    std::printf("FAIL archive %" PRIu64 " [%s] %s (original %zu) through %s:\n", index, kind_name(d.kind),
                d.what.c_str(), d.original, how);
    for (const auto& rule : broken) std::printf("     %s\n", rule.c_str());
    keep(d, seed, index);
}

// The rules are only worth their figures if breaking them shows: a file
// planted outside the target, beyond the scratch folder, or in the target
// with foreign content or odd attributes must each be reported.
bool harness_sees_broken_rules(const ArchiveModel& model, const Sandbox& sandbox) {
    struct Plant {
        const char* what;
        std::string path, content;
        DWORD attributes;
        bool marked;
    };
    const std::string probe = std::string(escape_marker) + "-probe";
    const std::string own = model.entries.back().content;
    const Plant plants[] = {
        {"a file beside the target", sandbox.target() + "-" + probe, "x", FILE_ATTRIBUTE_NORMAL, false},
        {"a file beyond the scratch folder", sandbox.scratch_parent() + "\\" + probe, "x", FILE_ATTRIBUTE_NORMAL, true},
        {"foreign content", sandbox.target() + "\\sub\\f.bin", own + "!", FILE_ATTRIBUTE_NORMAL, false},
        {"a read-only file", sandbox.target() + "\\r.bin", own, FILE_ATTRIBUTE_READONLY, false},
        {"a hidden file", sandbox.target() + "\\h.bin", own, FILE_ATTRIBUTE_HIDDEN, false},
    };
    bool ok = true;
    for (const Plant& plant : plants) {
        CreateDirectoryA(sandbox.target().c_str(), nullptr);
        CreateDirectoryA((sandbox.target() + "\\sub").c_str(), nullptr);
        put_file(plant.path, plant.content);
        SetFileAttributesA(plant.path.c_str(), plant.attributes);
        bool complete = false;
        auto broken = broken_rules({1, ExtractCause::none, {}}, sandbox, sandbox.target(), model, plant.marked, complete);
        if (broken.empty()) {
            std::printf("FAIL the checks do not see %s\n", plant.what);
            ok = false;
        }
        sandbox.clear_escapes();
        remove_tree(sandbox.target());
    }
    return ok;
}

// Each original, undamaged, must come out whole: otherwise the archives
// built here, not the extraction, would be at fault.
bool originals_extract(const std::vector<ArchiveModel>& models, const Sandbox& sandbox) {
    bool ok = true;
    for (std::size_t i = 0; i < models.size(); ++i) {
        put_file(sandbox.archive(), to_string(write_archive(models[i])));
        ExtractOutcome outcome = extract_archive(sandbox.archive(), sandbox.target());
        bool complete = false;
        auto broken = broken_rules(outcome, sandbox, sandbox.target(), models[i], false, complete);
        if (outcome.result != 1 || !complete || !broken.empty()) {
            std::printf("FAIL original %zu: %s, %s\n", i, result_class(outcome, complete).c_str(),
                        broken.empty() ? "" : broken.front().c_str());
            ok = false;
        }
        remove_tree(sandbox.target());
    }
    return ok;
}

// unpack.exe on the archive: its result line and exit code, or nothing when
// it did not end within the bound.
struct UnpackRun {
    bool ended = false;
    DWORD exit_code = 0;
    std::string output;
};

UnpackRun run_unpack(const std::string& program, const std::string& archive, const std::string& target,
                     const std::string& output_file) {
    UnpackRun run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(output_file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA startup{sizeof startup};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string command = "\"" + program + "\" \"" + archive + "\" \"" + target + "\"";
    PROCESS_INFORMATION process{};
    BOOL started = CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                  nullptr, &startup, &process);
    CloseHandle(out);
    if (!started) return run;
    if (WaitForSingleObject(process.hProcess, run_bound_ms) == WAIT_OBJECT_0) {
        run.ended = true;
        GetExitCodeProcess(process.hProcess, &run.exit_code);
    } else {
        TerminateProcess(process.hProcess, 9);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    auto bytes = read_whole_file(output_file);
    if (bytes) run.output = to_string(*bytes);
    DeleteFileA(output_file.c_str());
    return run;
}

std::string unpack_program() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string own(path, n);
    return own.substr(0, own.find_last_of('\\') + 1) + UNPACK_PROGRAM;
}

int run(std::uint64_t seed, std::uint64_t first, std::uint64_t count, std::uint64_t sample) {
    auto models = originals();
    Sandbox sandbox;
    if (!harness_sees_broken_rules(models[0], sandbox) || !originals_extract(models, sandbox)) return 1;

    // Kept to the end of the process, as is the thread that watches.
    Watchdog& watchdog = *new Watchdog;
    Tally tally;
    ULONGLONG started = GetTickCount64();
    for (std::uint64_t i = first; i < first + count; ++i) {
        DamagedArchive d = damage(models, seed, i);
        put_file(sandbox.archive(), to_string(d.bytes));
        watchdog.begin(seed, i, d.what);
        ULONGLONG run_started = GetTickCount64();
        ExtractOutcome outcome = extract_archive(sandbox.archive(), sandbox.target());
        ULONGLONG took = GetTickCount64() - run_started;
        tally.slowest_ms = std::max(tally.slowest_ms, took);
        tally.extracting_ms += took;
        watchdog.end();
        bool complete = false;
        auto broken = broken_rules(outcome, sandbox, sandbox.target(), models[d.original], holds_marker(d.bytes), complete);
        std::string result = result_class(outcome, complete);
        ++tally.by_result[result];
        ++tally.by_kind[kind_name(d.kind)][result];
        if (!broken.empty()) {
            report_failure(tally, i, d, broken, seed, "the extract operation");
            sandbox.clear_escapes();
        }
        remove_tree(sandbox.target());
    }
    ULONGLONG elapsed = GetTickCount64() - started;

    // The same archives through the command-line program: its result and
    // exit code agree with the operation's, under the same rules.
    int unpack_runs = 0, unpack_agreed = 0;
    const std::string program = unpack_program();
    for (std::uint64_t k = 0; k < sample && count; ++k) {
        // Spread over the series, every kind of damage in turn.
        std::uint64_t base = k * count / sample, kinds = damage_kind_count;
        std::uint64_t i = base - base % kinds + k % kinds;
        if (i >= count) i = k % count;
        i += first;
        DamagedArchive d = damage(models, seed, i);
        put_file(sandbox.archive(), to_string(d.bytes));
        ExtractOutcome direct = extract_archive(sandbox.archive(), sandbox.second_target());
        remove_tree(sandbox.second_target());
        UnpackRun u = run_unpack(program, sandbox.archive(), sandbox.target(), sandbox.output(k));
        ++unpack_runs;
        bool complete = false;
        auto broken = broken_rules(direct, sandbox, sandbox.target(), models[d.original], holds_marker(d.bytes), complete);
        DWORD want_exit = direct.result == 1 ? 0 : direct.result == 0 ? 1 : 2;
        std::string want_line = "result: " + std::to_string(direct.result);
        if (!u.ended) broken.push_back("unpack.exe did not end within the bound");
        else if (u.exit_code != want_exit || u.output.find(want_line) == std::string::npos)
            broken.push_back("unpack.exe exit " + std::to_string(u.exit_code) + ", printed \"" + u.output +
                             "\", the operation gave " + std::to_string(direct.result));
        if (broken.empty()) ++unpack_agreed;
        else report_failure(tally, i, d, broken, seed, "unpack.exe");
        remove_tree(sandbox.target());
    }

    std::printf("seed %" PRIu64 ": %" PRIu64 " damaged archives in %.1f s, %.1f s of it extracting (slowest run %llu ms)\n",
                seed, count, elapsed / 1000.0, tally.extracting_ms / 1000.0,
                static_cast<unsigned long long>(tally.slowest_ms));
    for (const auto& [result, n] : tally.by_result) std::printf("  %6d  result %s\n", n, result.c_str());
    std::printf("by kind of damage:\n");
    for (const auto& [kind, results] : tally.by_kind) {
        std::printf("  %-22s", kind.c_str());
        for (const auto& [result, n] : results) std::printf(" %s: %d;", result.c_str(), n);
        std::printf("\n");
    }
    std::printf("unpack.exe: %d of %d runs agreed with the operation and kept every rule\n", unpack_agreed,
                unpack_runs);
    std::printf("%d broken rule%s\n", tally.failures, tally.failures == 1 ? "" : "s");
    return tally.failures ? 1 : 0;
}

}  // namespace
}  // namespace quorvane::testing

int main(int argc, char** argv) {
    std::uint64_t seed = argc > 1 ? std::strtoull(argv[1], nullptr, 0) : 1;
    std::uint64_t count = argc > 2 ? std::strtoull(argv[2], nullptr, 0) : 2000;
    std::uint64_t sample = argc > 3 ? std::strtoull(argv[3], nullptr, 0) : 26;
    std::uint64_t first = argc > 4 ? std::strtoull(argv[4], nullptr, 0) : 0;
    setvbuf(stdout, nullptr, _IONBF, 0);
    return quorvane::testing::run(seed, first, count, sample);
}
