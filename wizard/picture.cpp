#include "picture.h"

#include <png.h>

#include "window_rules.h"

namespace quorvane {

namespace {
// libpng's reading state, released whichever way the decode ends.
struct PngReading {
    png_image image{};
    PngReading() { image.version = PNG_IMAGE_VERSION; }
    ~PngReading() { png_image_free(&image); }
    PngReading(const PngReading&) = delete;
    PngReading& operator=(const PngReading&) = delete;
};
}  // namespace

std::optional<DecodedPicture> decode_png(ByteSpan png) {
    PngReading reading;
    png_image& image = reading.image;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return std::nullopt;
    image.format = PNG_FORMAT_RGBA;
    DecodedPicture picture;
    picture.width = int(image.width);
    picture.height = int(image.height);
    // The window's pictures are small; anything beyond this is not ours.
    if (image.width == 0 || image.height == 0 || image.width > 4096 || image.height > 4096) return std::nullopt;
    picture.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr)) return std::nullopt;
    return picture;
}

bool StretchedPicture::make_scaled(HDC dc, SIZE size) {
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    std::vector<std::uint8_t> pixels =
        flatten_to_bgrx(decoded_->rgba, Rgb{GetRValue(face), GetGValue(face), GetBValue(face)});

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = decoded_->width;
    info.bmiHeader.biHeight = -decoded_->height;  // top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    unique_bitmap scaled(CreateCompatibleBitmap(dc, size.cx, size.cy));
    unique_memory_dc memory(CreateCompatibleDC(dc));
    if (!scaled || !memory) return false;
    HGDIOBJ old = SelectObject(memory.get(), scaled.get());
    bool smooth = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) > 16;
    SetStretchBltMode(memory.get(), smooth ? HALFTONE : COLORONCOLOR);
    SetBrushOrgEx(memory.get(), 0, 0, nullptr);
    int lines = StretchDIBits(memory.get(), 0, 0, size.cx, size.cy, 0, 0, decoded_->width, decoded_->height,
                              pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    SelectObject(memory.get(), old);
    if (lines == 0 || lines == int(GDI_ERROR)) return false;
    scaled_ = std::move(scaled);
    scaled_size_ = size;
    return true;
}

bool StretchedPicture::paint(HDC dc, SIZE size, const RECT& area) {
    if (!decode_tried_) {
        decode_tried_ = true;
        decoded_ = decode_png(png_);
    }
    if (!decoded_ || size.cx <= 0 || size.cy <= 0) return false;
    if (!scaled_ || scaled_size_.cx != size.cx || scaled_size_.cy != size.cy) {
        if (!make_scaled(dc, size)) return false;
    }
    unique_memory_dc memory(CreateCompatibleDC(dc));
    if (!memory) return false;
    HGDIOBJ old = SelectObject(memory.get(), scaled_.get());
    BOOL copied = BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory.get(),
                         area.left, area.top, SRCCOPY);
    SelectObject(memory.get(), old);
    return copied != FALSE;
}

}  // namespace quorvane
