// Icons: drawing through the alpha mask, and handle identity.
#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "gfx/Canvas.h"

namespace {

using namespace gfx;

// A 4 x 1 red icon (with a trace of blue, to see rounding) with alpha 0,
// 128, 255 and 1.
TIcon RedIcon() {
    return TIcon(TSurface(4, 1, 0xFF0001), {0, 128, 255, 1});
}

TEST(CanvasIcon, AlphaZeroIsTransparentFullIsOpaqueBetweenBlends) {
    TSurface s(6, 1, 0x0000FF);
    TCanvas c(s);
    c.Draw(1, 0, RedIcon());
    EXPECT_EQ(s.At(0, 0), 0x0000FFu);
    EXPECT_EQ(s.At(1, 0), 0x0000FFu);
    EXPECT_EQ(s.At(2, 0), 0x800080u);  // 128/255 over blue, rounded to nearest
    EXPECT_EQ(s.At(3, 0), 0xFF0001u);
    EXPECT_EQ(s.At(4, 0), 0x0100FEu);
    EXPECT_EQ(s.At(5, 0), 0x0000FFu);
}

TEST(CanvasIcon, DrawingIsClipped) {
    TSurface s(3, 1, 0x0000FF);
    TCanvas c(s);
    c.IntersectClip({0, 0, 3, 1});
    c.Draw(-2, 0, RedIcon());  // only alpha 255 and 1 land on the surface
    EXPECT_EQ(s.At(0, 0), 0xFF0001u);
    EXPECT_EQ(s.At(1, 0), 0x0100FEu);
    EXPECT_EQ(s.At(2, 0), 0x0000FFu);
    c.Draw(0, 0, TIcon());  // an empty icon draws nothing
    EXPECT_EQ(s.At(2, 0), 0x0000FFu);
}

TEST(IconHandle, EveryIconHasItsOwnHandleAndMovesHandItOver) {
    const TIcon a = RedIcon();
    TIcon b = RedIcon();
    EXPECT_NE(a.Handle(), 0u);
    EXPECT_NE(a.Handle(), b.Handle());
    const TIcon copy = a;
    EXPECT_NE(copy.Handle(), a.Handle());
    const std::uint64_t handle = b.Handle();
    TIcon moved = std::move(b);
    EXPECT_EQ(moved.Handle(), handle);
    EXPECT_EQ(b.Handle(), 0u);  // the moved-from icon is left empty
    EXPECT_TRUE(b.Empty());
    moved.Clear();
    EXPECT_EQ(moved.Handle(), 0u);
    EXPECT_EQ(TIcon().Handle(), 0u);
    EXPECT_THROW(TIcon(TSurface(2, 2), {1, 2, 3}), std::invalid_argument);
}

}  // namespace
