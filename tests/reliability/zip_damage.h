#pragma once
// Damaged archives made from valid ones, reproducibly: archive number i of the
// series a seed starts is always the same bytes, so any archive that a long
// run finds troublesome can be made again from its seed and number alone.
#include <cstdint>
#include <string>
#include <vector>

#include "zip_model.h"

namespace quorvane::testing {

// A small deterministic generator (splitmix64): the same numbers with every
// compiler and standard library, unlike the standard distributions.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    std::uint64_t below(std::uint64_t bound);  // 0 when bound is 0
    bool percent(unsigned chance) { return below(100) < chance; }

private:
    std::uint64_t state_;
};

enum class DamageKind {
    bit_flips,       // a few bits anywhere in the file
    truncation,      // the file cut short, often inside a record
    local_field,     // one field of a local header
    central_field,   // one field of a central-directory record
    end_field,       // one field of the end record
    data_flips,      // bits of one entry's stored data
    traversal_name,  // an entry renamed to leave the target folder
    hostile_name,    // device names, forbidden characters, empty and separator-only names
    overlong_name,   // names and nested paths around and beyond the path limit
    method,          // another compression method, in both headers or one
    flags,           // encryption, data descriptor and other flag bits
    extra_field,     // short, overlong and lying extra-field blocks
    structure,       // records duplicated, reordered, prefixed, pointed elsewhere
};
constexpr int damage_kind_count = 13;
const char* kind_name(DamageKind kind);

struct DamagedArchive {
    Bytes bytes;
    DamageKind kind;
    std::size_t original;  // index into the originals it was made from
    std::string what;      // the change, for a reader of a failure report
};

// Archive number index of the series that seed starts, made from one of the
// originals.
DamagedArchive damage(const std::vector<ArchiveModel>& originals, std::uint64_t seed, std::uint64_t index);

// The marker in every name meant to escape; a file named so outside a target
// folder is proof that an entry got out.
constexpr const char* escape_marker = "qv-escape";

}  // namespace quorvane::testing
