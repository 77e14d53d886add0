#pragma once
// Decisions of the setup window that need no window: page and progress
// clamping, the walk through the focus order, the flattening of a picture's
// alpha onto the background colour. Portable, so they run natively too.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quorvane {

// The page control has seven pages, indices 0 to 6.
constexpr int page_count = 7;

int clamp_page(int requested);
// The progress bar's range is 0 to 100.
int clamp_progress(int requested);

// The control that Tab (forwards) or Shift+Tab (backwards) moves the focus
// to, as an index into the focus order; `can_focus` tells which controls are
// shown and enabled. From no control (or one outside the order) forwards
// starts at the first, backwards at the last. Nothing when none can take it.
std::optional<std::size_t> next_focus(std::span<const bool> can_focus, std::optional<std::size_t> current,
                                      bool backwards);

// The first control in the focus order that can take the focus.
std::optional<std::size_t> first_focus(std::span<const bool> can_focus);

struct Rgb {
    std::uint8_t red, green, blue;
};

// One colour channel of a pixel with alpha a flattened onto the background:
// a/255 * value + (1 - a/255) * background, truncated toward zero. Computed
// exactly, so an opaque pixel keeps its value and a clear one takes the
// background's.
std::uint8_t flatten_channel(std::uint8_t value, std::uint8_t alpha, std::uint8_t background);

// RGBA pixels (8 bits each) flattened onto the background, as the 32-bit
// blue-green-red-unused pixels of a device-independent bitmap; the order of
// the pixels is kept. A trailing partial pixel is dropped.
std::vector<std::uint8_t> flatten_to_bgrx(std::span<const std::uint8_t> rgba, Rgb background);

}  // namespace quorvane
