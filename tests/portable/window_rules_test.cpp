#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "window_rules.h"

namespace quorvane {
namespace {

TEST(WindowRules, PageAndProgressClamp) {
    struct Case {
        int requested, page, progress;
    };
    const Case cases[] = {{-5, 0, 0}, {0, 0, 0}, {4, 4, 4}, {6, 6, 6}, {7, 6, 7}, {9, 6, 9},
                          {100, 6, 100}, {150, 6, 100}, {INT_MIN, 0, 0}, {INT_MAX, 6, 100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.requested);
        EXPECT_EQ(clamp_page(c.requested), c.page);
        EXPECT_EQ(clamp_progress(c.requested), c.progress);
    }
}

// Focus order: 按钮1, 编辑框1, 按钮3, 按钮2, 按钮4.
constexpr bool welcome[] = {true, false, false, true, false};
constexpr bool folder[] = {false, true, true, true, true};
constexpr bool progress[] = {false, false, false, true, false};
constexpr bool nothing[] = {false, false, false, false, false};

TEST(WindowRules, TabWalksTheFocusOrderOverFocusableControlsAndWraps) {
    struct Case {
        const char* what;
        std::span<const bool> can_focus;
        std::optional<std::size_t> from;
        bool backwards;
        std::optional<std::size_t> to;
    };
    const Case cases[] = {
        {"welcome: Next to Cancel", welcome, 0, false, 3},
        {"welcome: Cancel wraps to Next", welcome, 3, false, 0},
        {"welcome: backwards from Next wraps to Cancel", welcome, 0, true, 3},
        {"folder: edit box to Install", folder, 1, false, 2},
        {"folder: browse wraps to the edit box", folder, 4, false, 1},
        {"folder: backwards from the edit box wraps to browse", folder, 1, true, 4},
        {"folder: from the hidden Next", folder, 0, false, 1},
        {"folder: nothing focused, forwards", folder, std::nullopt, false, 1},
        {"folder: nothing focused, backwards", folder, std::nullopt, true, 4},
        {"progress: Cancel stays", progress, 3, false, 3},
        {"progress: backwards from the hidden Install", progress, 2, true, 3},
        {"no control can take it", nothing, 3, false, std::nullopt},
        {"out of range counts as none", welcome, 9, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(next_focus(c.can_focus, c.from, c.backwards), c.to);
    }
    EXPECT_EQ(first_focus(welcome), 0u);
    EXPECT_EQ(first_focus(folder), 1u);
    EXPECT_EQ(first_focus(nothing), std::nullopt);
}

TEST(WindowRules, FlatteningKeepsOpaqueAndTakesBackgroundWhereClear) {
    struct Case {
        int value, alpha, background, want;
    };
    const Case cases[] = {
        {200, 255, 10, 200}, {200, 0, 10, 10},
        {200, 128, 240, 219},  // (128*200 + 127*240) / 255 = 219.9: truncated
        {255, 1, 0, 1},        // exactly 1: no rounding below it
        {0, 254, 255, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.value << " a=" << c.alpha << " on " << c.background);
        EXPECT_EQ(flatten_channel(std::uint8_t(c.value), std::uint8_t(c.alpha), std::uint8_t(c.background)), c.want);
    }
    // White at each alpha onto black is the alpha itself, and the result never
    // leaves the range between the two colours.
    for (int a = 0; a < 256; ++a) {
        EXPECT_EQ(flatten_channel(255, std::uint8_t(a), 0), a);
        for (int v : {0, 17, 128, 255}) {
            for (int b : {0, 99, 255}) {
                int got = flatten_channel(std::uint8_t(v), std::uint8_t(a), std::uint8_t(b));
                EXPECT_GE(got, std::min(v, b));
                EXPECT_LE(got, std::max(v, b));
            }
        }
    }
}

TEST(WindowRules, FlattenedPixelsAreBlueGreenRedInTheirOrder) {
    const std::uint8_t rgba[] = {10, 20, 30, 255, /**/ 200, 100, 50, 0, /**/ 1, 2};
    std::vector<std::uint8_t> want = {30, 20, 10, 0, /**/ 9, 8, 7, 0};
    EXPECT_EQ(flatten_to_bgrx(rgba, Rgb{7, 8, 9}), want) << "the trailing partial pixel is dropped";
}

}  // namespace
}  // namespace quorvane
