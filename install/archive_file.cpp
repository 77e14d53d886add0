#include "archive_file.h"

#include <algorithm>
#include <cstring>

namespace quorvane {
namespace {

ArchiveFile& file_of(voidpf stream) { return *static_cast<ArchiveFile*>(stream); }

voidpf ZCALLBACK open_archive(voidpf opaque, const void*, int mode) {
    bool reading = (mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) == ZLIB_FILEFUNC_MODE_READ;
    return reading && static_cast<ArchiveFile*>(opaque)->is_open() ? opaque : nullptr;
}
uLong ZCALLBACK read_archive(voidpf, voidpf stream, void* into, uLong size) { return file_of(stream).read(into, size); }
uLong ZCALLBACK write_archive(voidpf, voidpf, const void*, uLong) { return 0; }
ZPOS64_T ZCALLBACK tell_archive(voidpf, voidpf stream) { return file_of(stream).tell(); }
long ZCALLBACK seek_archive(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    return file_of(stream).seek(static_cast<std::int64_t>(offset), origin) ? 0 : -1;
}
int ZCALLBACK close_archive(voidpf, voidpf) { return 0; }
int ZCALLBACK archive_error(voidpf, voidpf stream) { return file_of(stream).failed() ? 1 : 0; }

}  // namespace

ArchiveFile::ArchiveFile(const std::string& path)
    : file_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                        nullptr)) {
    LARGE_INTEGER size{};
    if (file_ && GetFileSizeEx(file_.get(), &size)) file_size_ = std::uint64_t(size.QuadPart);
    else file_.reset();
    for (auto& buffer : buffers_) buffer.bytes = std::make_unique<std::uint8_t[]>(piece_bytes);
}

zlib_filefunc64_def ArchiveFile::functions() {
    return {open_archive, read_archive, write_archive, tell_archive, seek_archive, close_archive, archive_error, this};
}

bool ArchiveFile::seek(std::int64_t offset, int origin) {
    std::int64_t base = origin == ZLIB_FILEFUNC_SEEK_CUR   ? std::int64_t(position_)
                        : origin == ZLIB_FILEFUNC_SEEK_END ? std::int64_t(file_size_)
                                                           : 0;
    if (offset < -base) return false;
    position_ = std::uint64_t(base + offset);
    return true;
}

ArchiveFile::Buffer* ArchiveFile::buffer_holding(std::uint64_t position) {
    for (auto& buffer : buffers_)
        if (position >= buffer.start && position - buffer.start < buffer.size) return &buffer;
    return nullptr;
}

std::uint32_t ArchiveFile::read_at_position(void* into, std::uint32_t size) {
    if (handle_position_ != position_) {
        LARGE_INTEGER to;
        to.QuadPart = LONGLONG(position_);
        if (!SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN)) {
            failed_ = true;
            return 0;
        }
        handle_position_ = position_;
    }
    DWORD got = 0;
    if (!ReadFile(file_.get(), into, size, &got, nullptr)) {
        failed_ = true;
        return 0;
    }
    handle_position_ += got;
    return got;
}

std::uint32_t ArchiveFile::read(void* into, std::uint32_t size) {
    auto* out = static_cast<std::uint8_t*>(into);
    std::uint32_t done = 0;
    while (done < size) {
        if (Buffer* buffer = buffer_holding(position_)) {
            auto offset = std::uint32_t(position_ - buffer->start);
            std::uint32_t n = std::min(size - done, buffer->size - offset);
            std::memcpy(out + done, buffer->bytes.get() + offset, n);
            buffer->last_used = ++uses_;
            position_ += n;
            done += n;
            continue;
        }
        if (size - done >= piece_bytes) {  // whole pieces of entry data go straight through
            std::uint32_t got = read_at_position(out + done, piece_bytes);
            if (got == 0) break;
            position_ += got;
            done += got;
            continue;
        }
        Buffer& oldest = buffers_[0].last_used <= buffers_[1].last_used ? buffers_[0] : buffers_[1];
        oldest.size = 0;
        oldest.start = position_;
        oldest.size = read_at_position(oldest.bytes.get(), piece_bytes);
        oldest.last_used = ++uses_;
        if (oldest.size == 0) break;
    }
    // minizip never reads past the end on purpose, and takes a short read
    // that reports no error for bytes of zero: the end record of a cut-off
    // archive would read as an empty directory.
    if (done < size) failed_ = true;
    return done;
}

}  // namespace quorvane
