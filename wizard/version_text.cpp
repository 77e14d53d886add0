#include "version_text.h"

namespace quorvane {

namespace {
std::string& storage() {
    static std::string text;
    return text;
}
}  // namespace

const std::string& version_text() { return storage(); }
void set_version_text(std::string_view text) { storage() = text; }
void release_version_text() { std::string().swap(storage()); }

}  // namespace quorvane
