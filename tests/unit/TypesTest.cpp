#include <gtest/gtest.h>

#include <limits>
#include <type_traits>

#include "gfx/Types.h"

namespace gfx {
namespace {

// A pixel passed for a colour (or the reverse) swapped red and blue
// silently; now it does not compile.
static_assert(!std::is_convertible_v<TPixel, TColor>);
static_assert(!std::is_convertible_v<TColor, TPixel>);

TEST(Colors, PixelConversionSwapsRedAndBlue) {
    EXPECT_EQ(PixelFromColor(TColor{0x123456}), 0x563412u);
    EXPECT_EQ(ColorFromPixel(0x563412), TColor{0x123456});
    EXPECT_EQ(ColorValue(clBtnFace), 0x80000000u + 15);
    EXPECT_EQ(SystemColorIndex(clInfoBk), 24);
}

TEST(Rects, IntersectAndUnionIgnoreEmpty) {
    EXPECT_EQ(Intersect({0, 0, 10, 10}, {5, 5, 20, 20}), (TRect{5, 5, 10, 10}));
    EXPECT_EQ(Intersect({0, 0, 10, 10}, {10, 0, 20, 10}), TRect{});
    EXPECT_EQ(Union({}, {1, 2, 3, 4}), (TRect{1, 2, 3, 4}));
    EXPECT_EQ(Union({0, 0, 1, 1}, {5, 5, 6, 6}), (TRect{0, 0, 6, 6}));
}

// Window positions come from the settings file and may be any int.
TEST(Rects, BoundsAtTheEndsOfIntKeepTheSizeWithoutOverflow) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    EXPECT_EQ(Bounds(kMax, kMax - 100, 264, 104), (TRect{kMax - 264, kMax - 104, kMax, kMax}));
    EXPECT_EQ(Bounds(kMin, kMin, 264, 104), (TRect{kMin, kMin, kMin + 264, kMin + 104}));
    EXPECT_EQ(Bounds(kMax - 264, 0, 264, 104).Left, kMax - 264);  // fits: not moved
    EXPECT_EQ(Bounds(kMin, 0, -5, 1).Right, kMin);                // a negative size as well
    EXPECT_EQ(Bounds(kMin, 0, -5, 1).Width(), -5);
}

TEST(Rects, WidthOffsetAndScaleSaturateInsteadOfOverflowing) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    const TRect all{kMin, kMin, kMax, kMax};
    EXPECT_EQ(all.Width(), kMax);
    EXPECT_EQ(all.Height(), kMax);
    EXPECT_EQ((TRect{kMax - 10, 0, kMax, 5}).Offset(20, -kMax), (TRect{kMax, -kMax, kMax, 5 - kMax}));
    EXPECT_EQ(ScaleRect({kMax - 264, kMin, kMax, 104}, 2), (TRect{kMax, kMin, kMax, 208}));
    EXPECT_EQ(ScaleRect({-3, 4, 261, 108}, 3), (TRect{-9, 12, 783, 324}));
    EXPECT_EQ(SaturatingAdd(kMin, -1), kMin);
    EXPECT_EQ(SaturatingMul(kMin, -1), kMax);
}

}  // namespace
}  // namespace gfx
