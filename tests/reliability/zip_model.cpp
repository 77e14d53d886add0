#include "zip_model.h"

#include <array>

namespace quorvane::testing {

std::uint32_t crc32_of(std::string_view data) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : data) crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void put16(Bytes& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = std::uint8_t(value);
    bytes[at + 1] = std::uint8_t(value >> 8);
}

void put32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    put16(bytes, at, std::uint16_t(value));
    put16(bytes, at + 2, std::uint16_t(value >> 16));
}

std::uint16_t get16(const Bytes& bytes, std::size_t at) { return std::uint16_t(bytes[at] | bytes[at + 1] << 8); }

std::uint32_t get32(const Bytes& bytes, std::size_t at) {
    return get16(bytes, at) | std::uint32_t(get16(bytes, at + 2)) << 16;
}

namespace {

EntryFields fields(std::string name, std::uint16_t method, const std::string& content, const std::string& data) {
    EntryFields f;
    f.version_needed = method == 8 ? 20 : 10;
    f.method = method;
    f.dos_time = 12 << 11;
    f.dos_date = ((2024 - 1980) << 9) | (3 << 5) | 1;
    f.crc = crc32_of(content);
    f.compressed_size = std::uint32_t(data.size());
    f.uncompressed_size = std::uint32_t(content.size());
    f.name = std::move(name);
    return f;
}

ArchiveEntry entry(std::string name, std::uint16_t method, std::string content, std::string data,
               std::uint32_t external_attributes) {
    ArchiveEntry e;
    e.local = fields(std::move(name), method, content, data);
    e.central = e.local;
    e.data = std::move(data);
    e.content = std::move(content);
    e.external_attributes = external_attributes;
    return e;
}

void append(Bytes& out, std::string_view bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

void append16(Bytes& out, std::uint16_t value) {
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

void append32(Bytes& out, std::uint32_t value) {
    append16(out, std::uint16_t(value));
    append16(out, std::uint16_t(value >> 16));
}

void append_common(Bytes& out, const EntryFields& f) {
    append16(out, f.flags);
    append16(out, f.method);
    append16(out, f.dos_time);
    append16(out, f.dos_date);
    append32(out, f.crc);
    append32(out, f.compressed_size);
    append32(out, f.uncompressed_size);
    append16(out, std::uint16_t(f.name.size()));
    append16(out, std::uint16_t(f.extra.size()));
}

}  // namespace

ArchiveEntry stored_entry(std::string name, std::string content, std::uint32_t external_attributes) {
    std::string data = content;
    return entry(std::move(name), 0, std::move(content), std::move(data), external_attributes);
}

ArchiveEntry deflated_entry(std::string name, std::string content, std::string deflated,
                        std::uint32_t external_attributes) {
    return entry(std::move(name), 8, std::move(content), std::move(deflated), external_attributes);
}

ArchiveEntry folder_entry(std::string name) { return entry(std::move(name), 0, {}, {}, 0x10); }

Bytes write_archive(const ArchiveModel& model, ArchiveLayout* layout) {
    ArchiveLayout where;
    Bytes out;
    append(out, model.prefix);
    for (const ArchiveEntry& e : model.entries) {
        where.local_headers.push_back(out.size());
        append32(out, 0x04034B50);
        append16(out, e.local.version_needed);
        append_common(out, e.local);
        append(out, e.local.name);
        append(out, e.local.extra);
        where.data.push_back(out.size());
        append(out, e.data);
    }
    where.central_directory = out.size();
    for (std::size_t i = 0; i < model.entries.size(); ++i) {
        const ArchiveEntry& e = model.entries[i];
        where.central_records.push_back(out.size());
        append32(out, 0x02014B50);
        append16(out, e.made_by);
        append16(out, e.central.version_needed);
        append_common(out, e.central);
        append16(out, std::uint16_t(e.comment.size()));
        append16(out, e.disk);
        append16(out, e.internal_attributes);
        append32(out, e.external_attributes);
        append32(out, std::uint32_t(where.local_headers[i]));
        append(out, e.central.name);
        append(out, e.central.extra);
        append(out, e.comment);
    }
    where.end_record = out.size();
    append32(out, 0x06054B50);
    append16(out, 0);
    append16(out, 0);
    append16(out, std::uint16_t(model.entries.size()));
    append16(out, std::uint16_t(model.entries.size()));
    append32(out, std::uint32_t(where.end_record - where.central_directory));
    append32(out, std::uint32_t(where.central_directory));
    append16(out, std::uint16_t(model.comment.size()));
    append(out, model.comment);
    if (layout) *layout = std::move(where);
    return out;
}

}  // namespace quorvane::testing
