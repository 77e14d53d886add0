#include "window_rules.h"

#include <algorithm>

namespace quorvane {

int clamp_page(int requested) { return std::clamp(requested, 0, page_count - 1); }

int clamp_progress(int requested) { return std::clamp(requested, 0, 100); }

std::optional<std::size_t> next_focus(std::span<const bool> can_focus, std::optional<std::size_t> current,
                                      bool backwards) {
    const std::size_t n = can_focus.size();
    if (n == 0) return std::nullopt;
    // Start just outside the order when nothing in it has the focus, so the
    // first step lands on the first (or, backwards, the last) control.
    std::size_t at = current && *current < n ? *current : (backwards ? 0 : n - 1);
    for (std::size_t step = 0; step < n; ++step) {
        at = backwards ? (at + n - 1) % n : (at + 1) % n;
        if (can_focus[at]) return at;
    }
    return std::nullopt;
}

std::optional<std::size_t> first_focus(std::span<const bool> can_focus) {
    auto found = std::find(can_focus.begin(), can_focus.end(), true);
    if (found == can_focus.end()) return std::nullopt;
    return std::size_t(found - can_focus.begin());
}

std::uint8_t flatten_channel(std::uint8_t value, std::uint8_t alpha, std::uint8_t background) {
    // Whole numbers all the way: the sum is at most 255 * 255 and the
    // quotient lies between the two inputs, so no clamping is needed.
    unsigned a = alpha;
    return std::uint8_t((a * value + (255u - a) * background) / 255u);
}

std::vector<std::uint8_t> flatten_to_bgrx(std::span<const std::uint8_t> rgba, Rgb background) {
    std::vector<std::uint8_t> out;
    out.reserve(rgba.size() / 4 * 4);
    for (std::size_t i = 0; i + 4 <= rgba.size(); i += 4) {
        std::uint8_t alpha = rgba[i + 3];
        out.push_back(flatten_channel(rgba[i + 2], alpha, background.blue));
        out.push_back(flatten_channel(rgba[i + 1], alpha, background.green));
        out.push_back(flatten_channel(rgba[i], alpha, background.red));
        out.push_back(0);
    }
    return out;
}

}  // namespace quorvane
