#include "entry_attributes.h"

namespace quorvane {

EntryAttributes entry_attributes(std::uint32_t external) {
    using namespace file_attribute;
    constexpr std::uint32_t unix_folder = 0x40000000;
    constexpr std::uint32_t unix_owner_write = 0x00800000;
    bool folder = (external & directory) || (external & unix_folder);
    std::uint32_t attributes = folder ? (normal | directory) : normal;
    if (external & archive) attributes |= archive;
    if (external & hidden) attributes |= hidden;
    if (external & system) attributes |= system;
    if ((external & read_only) || !(external & unix_owner_write)) attributes |= read_only;
    return {attributes, folder};
}

std::uint32_t created_attributes(std::uint32_t attributes) { return attributes & ~file_attribute::read_only; }

bool blocks_replacement(std::uint32_t existing, std::uint32_t created) {
    using namespace file_attribute;
    if (existing & (read_only | directory)) return true;
    if ((existing & hidden) && !(created & hidden)) return true;
    return (existing & system) && !(created & system);
}

}  // namespace quorvane
