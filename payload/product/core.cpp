#define QUORVANE_CORE_BUILD
#include "core.h"

#include <climits>
#include <cstring>

#include "data_module.h"

using namespace quorvane::product;

QUORVANE_CORE_API int __cdecl qvcore_check_module(const unsigned char* module, unsigned size) {
    if (!module && size) return -1;
    return int(check_module(Bytes(module, size)));
}

QUORVANE_CORE_API int __cdecl qvcore_module_text(const unsigned char* module, unsigned size, const char* key,
                                                 char* out, unsigned capacity) {
    if ((!module && size) || !key) return -1;
    auto text = find_text(Bytes(module, size), key);
    if (!text || text->size() > INT_MAX) return -1;
    if (out && text->size() < capacity) {
        std::memcpy(out, text->data(), text->size());
        out[text->size()] = '\0';
    }
    return int(text->size());
}
