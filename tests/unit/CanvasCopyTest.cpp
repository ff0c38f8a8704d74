// Bit-block and stretched copies.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "gfx/Canvas.h"
#include "tests/support/PixelDiff.h"

namespace {

using namespace gfx;
using Grid = std::vector<std::string>;

const std::map<TPixel, char> kLegend = {
    {0xFFFFFF, '.'}, {0xFF0000, 'R'}, {0x00FF00, 'G'}, {0x0000FF, 'B'}, {0x000000, 'k'}};

// A source whose pixels name their place: row 0 "RGB", row 1 "kRG".
TSurface Source() {
    TSurface s(3, 2);
    const TPixel pixels[] = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000, 0xFF0000, 0x00FF00};
    for (int i = 0; i < 6; ++i) s.Set(i % 3, i / 3, pixels[i]);
    return s;
}

TEST(CanvasCopy, BitBltCopiesTheBlockAndClipsBothSides) {
    TSurface s(6, 3, 0xFFFFFF);
    TCanvas c(s);
    c.BitBlt(0, 0, 3, 2, Source(), 0, 0);
    c.BitBlt(4, 1, 5, 5, Source(), 1, 0);   // runs past the source and the target
    c.BitBlt(-1, 2, 3, 1, Source(), 0, 1);  // starts left of the target
    EXPECT_EQ(testsupport::Grid(s, kLegend), testsupport::Rows(R"(
RGB...
kRG.GB
RG..RG)"));
}

TEST(CanvasCopy, BitBltWithinOneSurfaceMovesLikeAScroll) {
    TSurface s(3, 4, 0xFFFFFF);
    TCanvas c(s);
    c.BitBlt(0, 0, 3, 2, Source(), 0, 0);
    c.BitBlt(0, 1, 3, 3, s, 0, 0);  // down by one: must read rows before they are overwritten
    EXPECT_EQ(testsupport::Grid(s, kLegend), testsupport::Rows(R"(
RGB
RGB
kRG
...)"));
    c.BitBlt(1, 0, 2, 4, s, 0, 0);  // right by one
    EXPECT_EQ(testsupport::Grid(s, kLegend), testsupport::Rows(R"(
RRG
RRG
kkR
...)"));
}

TEST(CanvasCopy, StretchTakesThePixelUnderTheCentreEarlierOnABorder) {
    TSurface s(5, 2, 0xFFFFFF);
    TCanvas c(s);
    // 2 -> 5: centres at 0.2, 0.6, 1.0 (a border: the earlier pixel), 1.4, 1.8.
    c.StretchBlt({0, 0, 5, 1}, Source(), {0, 0, 2, 1});
    // 3 -> 2 (shrinking): centres at 0.75 and 2.25.
    c.StretchBlt({0, 1, 2, 2}, Source(), {0, 0, 3, 1});
    // 4 -> 3 from x = 1, half of it past the source: centres at 1.67, 3
    // (the earlier pixel) and 4.33, which is not there and leaves the target.
    c.StretchBlt({2, 1, 5, 2}, Source(), {1, 0, 5, 1});
    EXPECT_EQ(testsupport::Grid(s, kLegend), (Grid{"RRRGG", "RBGB."}));
}

TEST(CanvasCopy, HugeStretchIsExactWhereVisible) {
    constexpr int kHuge = 1 << 30;
    TSurface s(4, 1, 0xFFFFFF);
    TCanvas c(s);
    c.SetOrigin({2, 0});
    // Two source pixels over 2^31 destination pixels: the split is at x = 0.
    c.StretchBlt({-kHuge, 0, kHuge, 1}, Source(), {0, 0, 2, 1});
    EXPECT_EQ(testsupport::Grid(s, kLegend), (Grid{"RRGG"}));
    // 2^31 + 3 source pixels over 2^32 - 1, seen at the right end: the
    // first sample needs a 128-bit product. The last target pixel lies
    // past the destination and stays.
    TSurface t(5, 1, 0xFFFFFF);
    TCanvas d(t);
    d.SetOrigin({-(INT_MAX - 4), 0});
    d.StretchBlt({INT_MIN, 0, INT_MAX, 1}, Source(), {INT_MIN, 0, 3, 1});
    EXPECT_EQ(testsupport::Grid(t, kLegend), (Grid{"GGBB."}));
}

TEST(CanvasCopy, DrawAndStretchDrawUseTheWholeBitmap) {
    TBitmap bitmap(3, 2);
    bitmap.Surface() = Source();
    TSurface s(6, 4, 0xFFFFFF);
    TCanvas c(s);
    c.Draw(3, 0, bitmap);
    c.StretchDraw({0, 0, 3, 4}, bitmap);
    EXPECT_EQ(testsupport::Grid(s, kLegend), testsupport::Rows(R"(
RGBRGB
RGBkRG
kRG...
kRG...)"));
}

}  // namespace
