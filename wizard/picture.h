#pragma once
// A picture carried in the program as a PNG file, decoded once and kept,
// then flattened onto the window colour and scaled once per size; each
// paint only copies the part that needs painting.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "byte_array.h"
#include "unique_handle.h"

namespace quorvane {

struct DecodedPicture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;  // rows top down, 4 bytes a pixel
};

// libpng, from memory; nothing when the bytes are not a PNG it can read.
std::optional<DecodedPicture> decode_png(ByteSpan png);

class StretchedPicture {
public:
    explicit StretchedPicture(ByteSpan png) : png_(png) {}

    // Paints the part `area` of the picture scaled to `size`, at the same
    // place in dc. False (nothing painted) when the picture cannot be decoded.
    bool paint(HDC dc, SIZE size, const RECT& area);
    // The scaled copy is made again at the next paint: the display's colour
    // depth or the window colour has changed.
    void forget_scaled() { scaled_.reset(); }

private:
    bool make_scaled(HDC dc, SIZE size);

    ByteSpan png_;
    bool decode_tried_ = false;
    std::optional<DecodedPicture> decoded_;
    unique_bitmap scaled_;
    SIZE scaled_size_{};
};

}  // namespace quorvane
