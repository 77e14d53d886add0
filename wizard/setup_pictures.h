#pragma once
// The setup window's two pictures as PNG files carried in the program; the
// bytes are generated at build time by tools/make-pictures.
#include "byte_array.h"

namespace quorvane {

ByteSpan background_png();  // 696 x 382, RGBA
ByteSpan logo_png();        // 240 x 240, RGBA

}  // namespace quorvane
