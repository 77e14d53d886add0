#include "extract.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "archive_file.h"
#include "archive_header.h"
#include "entry_attributes.h"
#include "entry_path.h"
#include "entry_times.h"
#include "extract_progress.h"
#include "folder_chain.h"
#include "unique_handle.h"
#include "unzip.h"

namespace quorvane {
namespace {

bool system_lead(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

struct zip_traits {
    using pointer = unzFile;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer zip) noexcept { unzClose(zip); }
};
using unique_zip = unique_handle<zip_traits>;

ExtractOutcome walked_to_end() { return {1, ExtractCause::none, {}}; }
ExtractOutcome gave_up(ExtractCause cause, std::string entry_name = {}) { return {0, cause, std::move(entry_name)}; }

// Recursive folder creation: the folder, or its missing parents first.
bool make_folder_with_parents(const std::string& path) {
    if (path.empty()) return false;
    if (is_bare_drive(path)) return true;
    if (CreateDirectoryA(path.c_str(), nullptr)) return true;
    DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS) return true;
    if (error != ERROR_PATH_NOT_FOUND) return false;
    auto parent = creation_parent(path, system_lead);
    if (!parent || !make_folder_with_parents(*parent)) return false;
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

// Folder-chain creation: every missing prefix of the folder, in order.
bool make_folder_chain(const std::string& folder) {
    auto prefixes = folder_chain_prefixes(folder, system_lead);
    if (!prefixes) return false;
    for (const auto& prefix : *prefixes)
        if (!exists(prefix) && !make_folder_with_parents(prefix)) return false;
    return true;
}

bool header_test_passes(const std::string& archive_path) {
    unique_file file(CreateFileA(archive_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    std::uint8_t first[header_test_bytes];
    DWORD total = 0, got = 0;
    while (total < sizeof first && ReadFile(file.get(), first + total, sizeof first - total, &got, nullptr) && got > 0)
        total += got;
    return passes_header_test(ByteSpan(first, total));
}

struct EntryRecord {
    std::string name;
    std::uint32_t external_attributes = 0;
    std::uint32_t flags = 0;
    std::uint16_t dos_date = 0, dos_time = 0;
    std::uint64_t uncompressed_size = 0;
    std::vector<std::uint8_t> local_extra;
};

// Reading the current entry's record. One scratch buffer holds any stored
// name (at most 65,535 bytes), so a long name is seen whole and refused
// later rather than cut to another name.
class RecordReader {
public:
    bool read(unzFile zip, EntryRecord& record) {
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(zip, &info, names_.data(), uLong(names_.size()), nullptr, 0, nullptr, 0) != UNZ_OK)
            return false;
        if (info.compression_method != 0 && info.compression_method != Z_DEFLATED) return false;
        record.name.assign(names_.data(), info.size_filename);
        record.external_attributes = std::uint32_t(info.external_fa);
        record.flags = std::uint32_t(info.flag);
        record.dos_date = std::uint16_t(info.dosDate >> 16);
        record.dos_time = std::uint16_t(info.dosDate & 0xFFFF);
        record.uncompressed_size = info.uncompressed_size;
        // Opening the raw data checks the local header against the central
        // record and gives the local extra field; nothing is decoded.
        if (unzOpenCurrentFile2(zip, nullptr, nullptr, 1) != UNZ_OK) return false;
        int size = unzGetLocalExtrafield(zip, nullptr, 0);
        record.local_extra.resize(size > 0 ? std::size_t(size) : 0);
        bool ok = size <= 0 || unzGetLocalExtrafield(zip, record.local_extra.data(), unsigned(size)) == size;
        unzCloseCurrentFile(zip);
        return ok;
    }

private:
    std::vector<char> names_ = std::vector<char>(65536);
};

ExtractCause write_failure(DWORD error) {
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? ExtractCause::disk_full
                                                                        : ExtractCause::cannot_write;
}

// Streams the current entry's data into the file in 16 KiB pieces. Anything
// short of every byte with a matching CRC-32 is a failure.
ExtractCause copy_entry_data(unzFile zip, HANDLE out, std::uint64_t expected_size, std::vector<std::uint8_t>& piece) {
    if (unzOpenCurrentFile(zip) != UNZ_OK) return ExtractCause::damaged_archive;
    ExtractCause cause = ExtractCause::none;
    std::uint64_t total = 0;
    for (;;) {
        int got = unzReadCurrentFile(zip, piece.data(), unsigned(piece.size()));
        if (got == 0) break;
        if (got < 0) {
            cause = ExtractCause::damaged_archive;
            break;
        }
        DWORD written = 0;
        BOOL wrote = WriteFile(out, piece.data(), DWORD(got), &written, nullptr);
        if (!wrote || written != DWORD(got)) {
            cause = wrote ? ExtractCause::disk_full : write_failure(GetLastError());  // a short write: no room
            break;
        }
        total += std::uint64_t(got);
    }
    int closed = unzCloseCurrentFile(zip);
    if (cause == ExtractCause::none && (closed != UNZ_OK || total != expected_size))
        cause = ExtractCause::damaged_archive;
    return cause;
}

FILETIME as_filetime(FileTime t) { return {DWORD(t & 0xFFFFFFFF), DWORD(t >> 32)}; }

class Extraction {
public:
    Extraction(unzFile zip, std::string target) : zip_(zip), target_(std::move(target)) {}

    ExtractOutcome entry(const EntryRecord& record) {
        if (check_entry_name(record.name, system_lead) != NameVerdict::ok)
            return gave_up(ExtractCause::unsafe_entry_name, record.name);
        // Without a password the data could only come out as garbage.
        if (record.flags & 0x01) return gave_up(ExtractCause::damaged_archive, record.name);
        auto path = output_path(target_, record.name, system_lead);
        if (!path) return gave_up(ExtractCause::unsafe_entry_name, record.name);
        EntryAttributes attributes = entry_attributes(record.external_attributes);
        if (attributes.folder || names_a_folder(record.name)) {
            if (!exists(*path) && !make_folder_chain(*path)) return gave_up(ExtractCause::cannot_make_folder, record.name);
            return walked_to_end();
        }
        ExtractCause cause = write_entry_file(record, *path, created_attributes(attributes.attributes));
        if (cause != ExtractCause::none) return gave_up(cause, record.name);
        return walked_to_end();
    }

private:
    // Creates the output file. A new name is tried first: under Wine a lookup
    // of a name that does not exist yet reads the whole folder listing, so
    // asking about the name before creating it would pay for that twice. Only
    // a name that is taken is looked at, and the folders are made only when
    // the create says they are missing.
    unique_file create_output(const std::string& path, std::uint32_t attributes, ExtractCause& cause) {
        bool made_folders = false;
        for (;;) {
            unique_file out(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
            if (out) return out;
            DWORD error = GetLastError();
            if (error == ERROR_PATH_NOT_FOUND && !made_folders) {
                made_folders = true;
                make_folder_with_parents(folder_of(path, system_lead));  // a failure shows on the next create
                continue;
            }
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
                // Checked here as well: a process with the rights to ignore
                // them (root under Wine) or a file system without DOS
                // attributes would otherwise replace a read-only, hidden or
                // system file without a word.
                DWORD existing = GetFileAttributesA(path.c_str());
                if (existing != INVALID_FILE_ATTRIBUTES && blocks_replacement(existing, attributes)) {
                    cause = ExtractCause::file_in_use_or_read_only;
                    return unique_file();
                }
                out.reset(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr));
                if (out) return out;
                error = GetLastError();
            }
            cause = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION
                        ? ExtractCause::file_in_use_or_read_only
                        : ExtractCause::cannot_write;
            return unique_file();
        }
    }

    ExtractCause write_entry_file(const EntryRecord& record, const std::string& path, std::uint32_t attributes) {
        ExtractCause cause = ExtractCause::none;
        unique_file out = create_output(path, attributes, cause);
        if (!out) return cause;
        cause = copy_entry_data(zip_, out.get(), record.uncompressed_size, piece_);
        bool finished = false;
        if (cause == ExtractCause::none && GetFileType(out.get()) == FILE_TYPE_DISK)
            finished = finish_on_handle(out.get(), record);
        out.reset();
        // No truncated or corrupt file stays under a product file name.
        if (cause != ExtractCause::none) {
            DeleteFileA(path.c_str());
            return cause;
        }
        if (!finished) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        return cause;
    }

    // The entry's times and normal attributes, set through the open handle in
    // one call rather than by path after closing it (a path costs a lookup).
    // Where that call is refused, the times go through SetFileTime and the
    // attributes are reset by path after the close; the end state is the same.
    static bool finish_on_handle(HANDLE file, const EntryRecord& record) {
        EntryTimes times = entry_times(record.dos_date, record.dos_time, record.local_extra);
        FILE_BASIC_INFO basic{};  // a zero time means "leave it"
        if (times.creation) basic.CreationTime.QuadPart = LONGLONG(*times.creation);
        if (times.last_access) basic.LastAccessTime.QuadPart = LONGLONG(*times.last_access);
        if (times.last_write) basic.LastWriteTime.QuadPart = LONGLONG(*times.last_write);
        basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        if (SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic)) return true;
        FILETIME creation{}, access{}, write{};
        if (times.creation) creation = as_filetime(*times.creation);
        if (times.last_access) access = as_filetime(*times.last_access);
        if (times.last_write) write = as_filetime(*times.last_write);
        SetFileTime(file, times.creation ? &creation : nullptr, times.last_access ? &access : nullptr,
                    times.last_write ? &write : nullptr);
        return false;
    }

    unzFile zip_;
    std::string target_;
    std::vector<std::uint8_t> piece_ = std::vector<std::uint8_t>(ArchiveFile::piece_bytes);
};

struct Run {
    ExtractOutcome outcome;
    std::uint64_t count = 0;
    bool stopped_by_handler = false;
};

Run run_extraction(const std::string& archive_path, const std::string& target_folder, const ExtractProgress& progress) {
    if (target_folder.empty() || !exists(archive_path)) return {{-1, ExtractCause::no_input, {}}};
    if (!exists(target_folder) && !make_folder_chain(target_folder)) return {gave_up(ExtractCause::cannot_make_folder)};
    if (!header_test_passes(archive_path)) return {gave_up(ExtractCause::not_an_archive)};

    ArchiveFile file(archive_path);
    if (!file.is_open()) return {gave_up(ExtractCause::not_an_archive)};
    zlib_filefunc64_def functions = file.functions();
    unique_zip zip(unzOpen2_64(archive_path.c_str(), &functions));
    if (!zip) return {gave_up(ExtractCause::damaged_archive)};

    // Counted once, walked once, both forward through the central directory.
    RecordReader reader;
    EntryRecord record;
    Run run{walked_to_end()};
    for (int moved = unzGoToFirstFile(zip.get()); moved == UNZ_OK && reader.read(zip.get(), record);
         moved = unzGoToNextFile(zip.get()))
        ++run.count;

    Extraction extraction(zip.get(), target_folder);
    int moved = unzGoToFirstFile(zip.get());
    for (std::uint64_t index = 0;; ++index, moved = unzGoToNextFile(zip.get())) {
        if (moved != UNZ_OK || !reader.read(zip.get(), record)) return run;
        run.outcome = extraction.entry(record);
        if (run.outcome.result != 1) return run;
        if (progress && !progress(percent_done(index, run.count))) {
            run.stopped_by_handler = true;
            return run;
        }
    }
}

}  // namespace

ExtractOutcome extract_archive(const std::string& archive_path, const std::string& target_folder,
                               const ExtractProgress& progress) {
    Run run = run_extraction(archive_path, target_folder, progress);
    if (progress && !run.stopped_by_handler) progress(percent_done(run.count, run.count));  // whatever the result
    return run.outcome;
}

}  // namespace quorvane
