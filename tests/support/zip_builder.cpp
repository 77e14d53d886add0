#include "zip_builder.h"

#include <zlib.h>

#include <stdexcept>

namespace quorvane::testing {
namespace {

void put16(std::string& out, std::uint32_t v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}
void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::string deflate_raw(const std::string& data) {
    z_stream z{};
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&z, uLong(data.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    int status = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (status != Z_STREAM_END) throw std::runtime_error("deflate");
    return out;
}

}  // namespace

std::uint16_t dos_date(int year, int month, int day) { return std::uint16_t(((year - 1980) << 9) | (month << 5) | day); }
std::uint16_t dos_time(int hour, int minute, int second) {
    return std::uint16_t((hour << 11) | (minute << 5) | (second / 2));
}

std::string build_zip(const std::vector<ZipEntry>& entries, const std::string& before) {
    std::string out = before, central;
    for (const auto& e : entries) {
        std::string encoded = e.encoded ? *e.encoded : e.method == 8 ? deflate_raw(e.data) : e.data;
        std::uint32_t crc = e.crc ? *e.crc
                                  : std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(e.data.data()),
                                                        uInt(e.data.size())));
        std::uint32_t offset = std::uint32_t(out.size() - before.size());
        auto common = [&](std::string& h, std::uint16_t method) {
            put16(h, e.flags);
            put16(h, method);
            put16(h, e.time);
            put16(h, e.date);
            put32(h, crc);
            put32(h, std::uint32_t(encoded.size()));
            put32(h, std::uint32_t(e.data.size()));
            put16(h, std::uint32_t(e.name.size()));
        };
        put32(out, 0x04034B50);
        put16(out, 20);
        common(out, e.local_method.value_or(e.method));
        put16(out, std::uint32_t(e.local_extra.size()));
        out += e.name;
        out += e.local_extra;
        out += encoded;

        put32(central, 0x02014B50);
        put16(central, 20);  // made by: MS-DOS attributes
        put16(central, 20);
        common(central, e.method);
        put16(central, 0);  // central extra field
        put16(central, 0);  // comment
        put16(central, 0);  // disk
        put16(central, 0);  // internal attributes
        put32(central, e.external_attributes);
        put32(central, offset);
        central += e.name;
    }
    std::uint32_t directory_offset = std::uint32_t(out.size() - before.size());
    out += central;
    put32(out, 0x06054B50);
    put16(out, 0);
    put16(out, 0);
    put16(out, std::uint32_t(entries.size()));
    put16(out, std::uint32_t(entries.size()));
    put32(out, std::uint32_t(central.size()));
    put32(out, directory_offset);
    put16(out, 0);
    return out;
}

std::string extra_block(std::uint16_t tag, const std::string& data) {
    std::string out;
    put16(out, tag);
    put16(out, std::uint32_t(data.size()));
    return out + data;
}

std::string ut_block(std::uint8_t flags, const std::vector<std::int32_t>& times) {
    std::string data(1, char(flags));
    for (std::int32_t t : times) put32(data, std::uint32_t(t));
    return extra_block(0x5455, data);
}

}  // namespace quorvane::testing
