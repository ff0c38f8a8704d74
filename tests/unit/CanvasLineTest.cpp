// Lines: which pixels a LineTo sets, and that absurd lines stay cheap and
// exact.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "gfx/Canvas.h"
#include "tests/support/PixelDiff.h"

namespace {

using namespace gfx;
using Grid = std::vector<std::string>;

const std::map<TPixel, char> kLegend = {{0xFFFFFF, '.'}, {0x000000, '#'}};

Grid DrawLine(int w, int h, TPoint a, TPoint b) {
    TSurface s(w, h, 0xFFFFFF);
    TCanvas c(s);
    c.MoveTo(a.X, a.Y);
    c.LineTo(b.X, b.Y);
    return testsupport::Grid(s, kLegend);
}

std::set<std::pair<int, int>> LinePixels(TPoint a, TPoint b) {
    TSurface s(16, 16, 0xFFFFFF);
    TCanvas c(s);
    c.SetOrigin({8, 8});
    c.MoveTo(a.X, a.Y);
    c.LineTo(b.X, b.Y);
    std::set<std::pair<int, int>> pixels;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (s.At(x, y) == 0) pixels.insert({x - 8, y - 8});
    return pixels;
}

TEST(CanvasLine, EndPointIsLeftOutAndPenMoves) {
    TSurface s(8, 3, 0xFFFFFF);
    TCanvas c(s);
    c.MoveTo(1, 1);
    c.LineTo(6, 1);
    EXPECT_EQ(c.PenPos(), (TPoint{6, 1}));
    c.LineTo(6, 1);  // zero length: nothing at all
    EXPECT_EQ(testsupport::Grid(s, kLegend), testsupport::Rows(R"(
........
.#####..
........)"));
}

TEST(CanvasLine, ExactHalfTakesTheSmallerCoordinate) {
    // y = x / 4: at x = 2 the line is exactly between rows 0 and 1.
    EXPECT_EQ(DrawLine(5, 2, {0, 0}, {4, 1}), (Grid{"###..", "...#."}));
    EXPECT_EQ(DrawLine(5, 2, {4, 1}, {0, 0}), (Grid{".##..", "...##"}));
    // The same along the y axis.
    EXPECT_EQ(DrawLine(2, 5, {0, 0}, {1, 4}), testsupport::Rows(R"(
#.
#.
#.
.#
..)"));
}

TEST(CanvasLine, ReversingChangesOnlyTheLeftOutEnd) {
    for (int x = -7; x <= 7; ++x) {
        for (int y = -7; y <= 7; ++y) {
            auto forward = LinePixels({0, 0}, {x, y});
            auto backward = LinePixels({x, y}, {0, 0});
            if (x != 0 || y != 0) {
                forward.insert({x, y});
                backward.insert({0, 0});
            }
            EXPECT_EQ(forward, backward) << "line to " << x << ", " << y;
        }
    }
}

TEST(CanvasLine, HugeLinesAreExactWhereVisible) {
    constexpr int kHuge = 1 << 30;
    // y = 3 (x + 2^30) / 2^31 is exactly 1.5 at x = 0 and just above it after.
    EXPECT_EQ(DrawLine(8, 4, {-kHuge, 0}, {kHuge, 3}), testsupport::Rows(R"(
........
#.......
.#######
........)"));
    EXPECT_EQ(DrawLine(4, 4, {kHuge, kHuge}, {-kHuge, -kHuge}), testsupport::Rows(R"(
#...
.#..
..#.
...#)"));
    EXPECT_EQ(DrawLine(4, 4, {1, -kHuge}, {1, kHuge}), testsupport::Rows(R"(
.#..
.#..
.#..
.#..)"));
}

}  // namespace
