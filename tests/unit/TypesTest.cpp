#include <gtest/gtest.h>

#include "gfx/Types.h"

namespace gui {
namespace {

TEST(Colors, PixelConversionSwapsRedAndBlue) {
    EXPECT_EQ(PixelFromColor(0x123456), 0x563412u);
    EXPECT_EQ(ColorFromPixel(0x563412), 0x123456u);
}

TEST(Rects, IntersectAndUnionIgnoreEmpty) {
    EXPECT_EQ(Intersect({0, 0, 10, 10}, {5, 5, 20, 20}), (TRect{5, 5, 10, 10}));
    EXPECT_EQ(Intersect({0, 0, 10, 10}, {10, 0, 20, 10}), TRect{});
    EXPECT_EQ(Union({}, {1, 2, 3, 4}), (TRect{1, 2, 3, 4}));
    EXPECT_EQ(Union({0, 0, 1, 1}, {5, 5, 6, 6}), (TRect{0, 0, 6, 6}));
}

}  // namespace
}  // namespace gui
