#pragma once
// The archive file as minizip reads it: one handle opened by us and read in
// pieces of at most 16 KiB. minizip asks for its headers a byte at a time and
// jumps between the central directory and the local headers, so two buffers
// hold the last two places read.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "ioapi.h"
#include "unique_handle.h"

namespace quorvane {

class ArchiveFile {
public:
    static constexpr std::uint32_t piece_bytes = 16384;

    // GENERIC_READ, FILE_SHARE_READ: nobody writes to the archive meanwhile.
    explicit ArchiveFile(const std::string& path);
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;

    bool is_open() const { return bool(file_); }
    // minizip's file functions over this file. The handle stays ours, so
    // minizip's close leaves it open.
    zlib_filefunc64_def functions();

    std::uint32_t read(void* into, std::uint32_t size);
    bool seek(std::int64_t offset, int origin);
    std::uint64_t tell() const { return position_; }
    bool failed() const { return failed_; }

private:
    struct Buffer {
        std::unique_ptr<std::uint8_t[]> bytes;
        std::uint64_t start = 0;  // file position of bytes[0]
        std::uint32_t size = 0;
        std::uint64_t last_used = 0;
    };

    Buffer* buffer_holding(std::uint64_t position);
    std::uint32_t read_at_position(void* into, std::uint32_t size);

    unique_file file_;
    std::uint64_t file_size_ = 0;
    Buffer buffers_[2];
    std::uint64_t uses_ = 0;
    std::uint64_t position_ = 0;       // where minizip reads next
    std::uint64_t handle_position_ = 0;  // where the handle's file pointer stands
    bool failed_ = false;
};

}  // namespace quorvane
