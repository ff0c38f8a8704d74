#include <gtest/gtest.h>

#include <type_traits>

#include "gfx/Types.h"

namespace gui {
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

}  // namespace
}  // namespace gui
