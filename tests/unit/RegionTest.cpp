// Regions from polygons: the raster rule, agreement of fill, frame and
// point test, and bounded work for absurd polygons.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/Canvas.h"
#include "tests/support/PixelDiff.h"

namespace {

using namespace gfx;
using Grid = std::vector<std::string>;

const std::map<TPixel, char> kLegend = {{0xFFFFFF, '.'}, {0x000000, '#'}};
const std::vector<TPoint> kStar = {{16, 2}, {25, 28}, {2, 11}, {30, 11}, {7, 28}};
const std::vector<TPoint> kTriangle = {{6, 1}, {11, 9}, {1, 9}};

TEST(Region, LeftAndTopEdgesInRightAndBottomOut) {
    const std::vector<TPoint> square = {{0, 0}, {4, 0}, {4, 3}, {0, 3}};
    const TRegion r = TRegion::FromPolygon(square);
    EXPECT_TRUE(r.Contains(0, 0));
    EXPECT_TRUE(r.Contains(3, 2));
    EXPECT_FALSE(r.Contains(4, 0));
    EXPECT_FALSE(r.Contains(0, 3));
    EXPECT_FALSE(r.Contains(-1, 1));
    EXPECT_EQ(r.BoundingBox(), (TRect{0, 0, 4, 3}));
    EXPECT_EQ(r.Spans().size(), 3u);
}

TEST(Region, FewerThanThreeCornersOrNoAreaIsEmpty) {
    EXPECT_TRUE(TRegion::FromPolygon(std::vector<TPoint>{}).Empty());
    EXPECT_TRUE(TRegion::FromPolygon(std::vector<TPoint>{{0, 0}, {5, 5}}).Empty());
    EXPECT_TRUE(TRegion::FromPolygon(std::vector<TPoint>{{4, 4}, {12, 10}, {28, 22}}).Empty());
    EXPECT_FALSE(TRegion().Contains(0, 0));
}

TEST(Region, PointInRegionEqualsTheFillOnEveryPixel) {
    for (TPolyFillMode mode : {ALTERNATE, WINDING}) {
        const TRegion r = TRegion::FromPolygon(kStar, mode);
        TSurface s(32, 32, 0xFFFFFF);
        TCanvas c(s);
        c.FillRegion(r, clBlack);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                ASSERT_EQ(s.At(x, y) == 0, r.Contains(x, y)) << x << ", " << y;
    }
}

TEST(Region, FrameTwoByTwoOfATriangle) {
    TSurface s(12, 10, 0xFFFFFF);
    TCanvas c(s);
    c.FrameRgn(TRegion::FromPolygon(kTriangle), clBlack, 2, 2);
    EXPECT_EQ(testsupport::Grid(s, kLegend), testsupport::Rows(R"(
............
............
......#.....
.....###....
.....###....
....##.##...
...##...##..
...#######..
..#########.
............)"));
}

TEST(Region, FrameColoursPixelsWhoseNeighboursAtTheDistanceAreOutside) {
    // The star has arms thinner than the frame and gaps between them.
    for (int w : {1, 2, 3}) {
        const TRegion r = TRegion::FromPolygon(kStar);
        TSurface s(32, 32, 0xFFFFFF);
        TCanvas c(s);
        c.FrameRgn(r, clBlack, w, 2);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const bool edge =
                    r.Contains(x, y) && !(r.Contains(x - w, y) && r.Contains(x + w, y) &&
                                          r.Contains(x, y - 2) && r.Contains(x, y + 2));
                ASSERT_EQ(s.At(x, y) == 0, edge) << "width " << w << " at " << x << ", " << y;
            }
        }
    }
}

TEST(Region, HugePolygonsKeepABoundedTable) {
    constexpr int kHuge = 1 << 30;
    const std::vector<TPoint> huge = {{-kHuge, -kHuge}, {kHuge, -kHuge}, {0, kHuge}};
    const TRegion r = TRegion::FromPolygon(huge);
    EXPECT_TRUE(r.Contains(0, 0));
    EXPECT_LE(r.Spans().size(), std::size_t(2 * TRegion::kExtent));
    const TRect box = r.BoundingBox();
    EXPECT_GE(box.Left, -TRegion::kExtent);
    EXPECT_LE(box.Right, TRegion::kExtent);
    // A limit keeps only its own rows, with the same pixels there.
    const TRegion part = TRegion::FromPolygon(huge, ALTERNATE, {-3, 5, 4, 9});
    EXPECT_EQ(part.BoundingBox(), (TRect{-3, 5, 4, 9}));
    EXPECT_EQ(part.Contains(0, 6), r.Contains(0, 6));
}

}  // namespace
