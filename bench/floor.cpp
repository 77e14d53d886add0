// floor ARCHIVE FOLDER
// The least work any zlib-based extractor has to do: read the end record and
// the central directory, then for each entry read its local header, raw-inflate
// its data (or copy it when stored) with a running CRC-32, reading the archive
// front to back 16 KiB at a time and writing 16 KiB pieces. Folder entries
// make their folder; nothing else is done (no attributes, no times, no name
// checks). Built for Windows (run under Wine) and natively from this one
// source, so the two show what the platform costs. Exit code 0 when every entry was written and its
// CRC-32 matched, 1 otherwise, 2 on bad arguments.
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr std::size_t piece = 16384;

// The platform edge: a file opened for reading at offsets, one for writing,
// and folder creation. Nothing more is needed.
#ifdef _WIN32
constexpr char separator = '\\';
using native_handle = HANDLE;
const native_handle no_handle = INVALID_HANDLE_VALUE;
void close_native(native_handle h) { CloseHandle(h); }
native_handle open_for_reading(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}
native_handle create_for_writing(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}
bool missing_parent() { return GetLastError() == ERROR_PATH_NOT_FOUND; }
bool seek_to(native_handle h, std::uint64_t offset) {
    LARGE_INTEGER to;
    to.QuadPart = LONGLONG(offset);
    return SetFilePointerEx(h, to, nullptr, FILE_BEGIN);
}
// Reads up to size bytes where the file pointer stands; the count read, or -1.
long long read_some(native_handle h, void* buffer, std::size_t size) {
    DWORD got = 0;
    return ReadFile(h, buffer, DWORD(size), &got, nullptr) ? got : -1;
}
bool write_all(native_handle h, const void* data, std::size_t size) {
    DWORD put = 0;
    return WriteFile(h, data, DWORD(size), &put, nullptr) && put == size;
}
long long file_size(native_handle h) {
    LARGE_INTEGER size;
    return GetFileSizeEx(h, &size) ? size.QuadPart : -1;
}
bool make_folder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}
#else
constexpr char separator = '/';
using native_handle = int;
const native_handle no_handle = -1;
void close_native(native_handle h) { close(h); }
native_handle open_for_reading(const std::string& path) { return open(path.c_str(), O_RDONLY); }
native_handle create_for_writing(const std::string& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
}
bool missing_parent() { return errno == ENOENT; }
bool seek_to(native_handle h, std::uint64_t offset) { return lseek(h, off_t(offset), SEEK_SET) >= 0; }
long long read_some(native_handle h, void* buffer, std::size_t size) { return read(h, buffer, size); }
bool write_all(native_handle h, const void* data, std::size_t size) {
    auto* p = static_cast<const unsigned char*>(data);
    while (size > 0) {
        ssize_t put = write(h, p, size);
        if (put <= 0) return false;
        p += put;
        size -= std::size_t(put);
    }
    return true;
}
long long file_size(native_handle h) {
    struct stat s;
    return fstat(h, &s) == 0 ? s.st_size : -1;
}
bool make_folder(const std::string& path) { return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST; }
#endif

class File {
public:
    explicit File(native_handle h = no_handle) : h_(h) {}
    File(File&& o) noexcept : h_(std::exchange(o.h_, no_handle)) {}
    File& operator=(File&& o) noexcept {
        std::swap(h_, o.h_);
        return *this;
    }
    ~File() {
        if (h_ != no_handle) close_native(h_);
    }
    explicit operator bool() const { return h_ != no_handle; }
    native_handle get() const { return h_; }

private:
    native_handle h_;
};

std::uint32_t le16(const unsigned char* p) { return p[0] | p[1] << 8; }
std::uint32_t le32(const unsigned char* p) { return le16(p) | le16(p + 2) << 16; }

bool read_exact_at(const File& f, std::uint64_t offset, void* buffer, std::size_t size) {
    if (!seek_to(f.get(), offset)) return false;
    for (auto* p = static_cast<unsigned char*>(buffer); size > 0;) {
        long long got = read_some(f.get(), p, std::min(size, piece));
        if (got <= 0) return false;
        p += got;
        size -= std::size_t(got);
    }
    return true;
}

// The archive read front to back in pieces of 16 KiB through one buffer:
// neighbouring small entries cost one read for several headers and their
// data, and the file pointer moves only when the walk jumps.
class Reader {
public:
    explicit Reader(const File& f) : f_(f) {}

    void seek(std::uint64_t position) {
        if (position >= start_ && position <= start_ + size_) {
            at_ = std::size_t(position - start_);
        } else {
            start_ = position;
            size_ = at_ = 0;
        }
    }
    // Bytes buffered at the current position, reading the next piece when
    // none are; 0 at the end of the file or on an error.
    std::size_t fill() {
        if (at_ < size_) return size_ - at_;
        std::uint64_t position = start_ + size_;
        if (position != handle_position_ && !seek_to(f_.get(), position)) return 0;
        long long got = read_some(f_.get(), buffer_, piece);
        if (got <= 0) return 0;
        start_ = position;
        size_ = std::size_t(got);
        at_ = 0;
        handle_position_ = position + size_;
        return size_;
    }
    const unsigned char* data() const { return buffer_ + at_; }
    void consume(std::size_t n) { at_ += n; }
    bool read(void* into, std::size_t n) {
        for (auto* p = static_cast<unsigned char*>(into); n > 0;) {
            std::size_t got = std::min(fill(), n);
            if (got == 0) return false;
            std::memcpy(p, data(), got);
            consume(got);
            p += got;
            n -= got;
        }
        return true;
    }

private:
    const File& f_;
    unsigned char buffer_[piece];
    std::uint64_t start_ = 0, handle_position_ = ~std::uint64_t(0);
    std::size_t size_ = 0, at_ = 0;
};

// Makes every missing folder above path (for archives that carry no folder
// entries); the folder part of path uses the platform's separator.
void make_parents(const std::string& path) {
    for (std::size_t at = path.find(separator, 1); at != std::string::npos; at = path.find(separator, at + 1))
        make_folder(path.substr(0, at));
}

struct Entry {
    std::string name;
    std::uint32_t method, crc, packed, size, local_offset;
};

// The entries as the central directory lists them; false when the end record
// or the directory is damaged or needs zip64.
bool read_directory(const File& archive, std::vector<Entry>& entries) {
    long long total = file_size(archive.get());
    if (total < 22) return false;
    std::size_t tail_size = std::size_t(std::min<long long>(total, 22 + 65535));
    std::vector<unsigned char> tail(tail_size);
    if (!read_exact_at(archive, std::uint64_t(total) - tail_size, tail.data(), tail_size)) return false;
    const unsigned char* end_record = nullptr;
    for (std::size_t i = tail_size - 22 + 1; i-- > 0;)
        if (le32(&tail[i]) == 0x06054b50) {
            end_record = &tail[i];
            break;
        }
    if (!end_record) return false;
    std::uint32_t count = le16(end_record + 10), directory_size = le32(end_record + 12),
                  directory_offset = le32(end_record + 16);
    if (count == 0xffff || directory_offset == 0xffffffff) return false;
    std::vector<unsigned char> directory(directory_size);
    if (!read_exact_at(archive, directory_offset, directory.data(), directory_size)) return false;
    std::size_t at = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (at + 46 > directory.size() || le32(&directory[at]) != 0x02014b50) return false;
        const unsigned char* r = &directory[at];
        std::size_t name_size = le16(r + 28), record_size = 46 + name_size + le16(r + 30) + le16(r + 32);
        if (at + record_size > directory.size()) return false;
        entries.push_back({std::string(reinterpret_cast<const char*>(r + 46), name_size), le16(r + 10), le32(r + 16),
                           le32(r + 20), le32(r + 24), le32(r + 42)});
        at += record_size;
    }
    return true;
}

class Extractor {
public:
    Extractor(const File& archive, std::string folder) : in_(archive), folder_(std::move(folder)) {
        inflateInit2(&z_, -MAX_WBITS);
    }
    ~Extractor() { inflateEnd(&z_); }

    bool extract(const Entry& e) {
        std::string path = folder_;
        path += separator;
        for (char c : e.name) path += c == '/' ? separator : c;
        if (!e.name.empty() && e.name.back() == '/') return make_folder(path.substr(0, path.size() - 1));
        unsigned char header[30];
        in_.seek(e.local_offset);
        if (!in_.read(header, sizeof header) || le32(header) != 0x04034b50) return false;
        in_.seek(std::uint64_t(e.local_offset) + 30 + le16(header + 26) + le16(header + 28));
        File out(create_for_writing(path));
        if (!out && missing_parent()) {
            make_parents(path);
            out = File(create_for_writing(path));
        }
        if (!out) return false;
        std::uint32_t crc = 0;
        bool ok = e.method == 8 ? inflate_entry(e, out, crc) : e.method == 0 && copy_entry(e, out, crc);
        return ok && crc == e.crc;
    }

private:
    bool copy_entry(const Entry& e, const File& out, std::uint32_t& crc) {
        for (std::uint32_t done = 0; done < e.size;) {
            std::size_t n = std::min<std::size_t>(in_.fill(), e.size - done);
            if (n == 0 || !write_all(out.get(), in_.data(), n)) return false;
            crc = crc32(crc, in_.data(), unsigned(n));
            in_.consume(n);
            done += std::uint32_t(n);
        }
        return true;
    }

    // Output goes out in whole 16 KiB pieces; only the last may be shorter.
    bool inflate_entry(const Entry& e, const File& out, std::uint32_t& crc) {
        inflateReset(&z_);
        std::uint32_t read = 0, written = 0;
        z_.next_out = out_;
        z_.avail_out = piece;
        for (int status = Z_OK; status != Z_STREAM_END;) {
            std::size_t n = std::min<std::size_t>(in_.fill(), e.packed - read);
            if (n == 0) return false;
            z_.next_in = const_cast<unsigned char*>(in_.data());
            z_.avail_in = unsigned(n);
            status = inflate(&z_, Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END) return false;
            std::size_t used = n - z_.avail_in;
            in_.consume(used);
            read += std::uint32_t(used);
            if (z_.avail_out == 0 || status == Z_STREAM_END) {
                std::size_t made = piece - z_.avail_out;
                if (made > 0 && !write_all(out.get(), out_, made)) return false;
                crc = crc32(crc, out_, unsigned(made));
                written += std::uint32_t(made);
                z_.next_out = out_;
                z_.avail_out = piece;
            }
        }
        return written == e.size;
    }

    Reader in_;
    std::string folder_;
    z_stream z_{};
    unsigned char out_[piece];
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: floor ARCHIVE FOLDER\n");
        return 2;
    }
    File archive(open_for_reading(argv[1]));
    std::vector<Entry> entries;
    if (!archive || !read_directory(archive, entries)) {
        std::fprintf(stderr, "floor: cannot read the archive's directory\n");
        return 1;
    }
    Extractor extractor(archive, argv[2]);
    for (const Entry& e : entries)
        if (!extractor.extract(e)) {
            std::fprintf(stderr, "floor: entry %s failed\n", e.name.c_str());
            return 1;
        }
    return 0;
}
