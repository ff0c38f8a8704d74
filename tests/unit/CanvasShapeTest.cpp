// Rectangles, round rectangles and polygons on tiny bitmaps.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/Canvas.h"
#include "tests/support/PixelDiff.h"

namespace {

using namespace gfx;
using Grid = std::vector<std::string>;

// '.' untouched, '#' pen, 'o' brush.
const std::map<TPixel, char> kLegend = {{0xFFFFFF, '.'}, {0x000000, '#'}, {0x0000FF, 'o'}};

struct Picture {
    TSurface surface;
    TCanvas canvas;
    Picture(int w, int h) : surface(w, h, 0xFFFFFF), canvas(surface) {
        canvas.Brush.Color = clBlue;
    }
    Grid Rows() const { return testsupport::Grid(surface, kLegend); }
};

TEST(CanvasRectangle, OutlineInsideRightAndBottomLeftOut) {
    Picture p(6, 5);
    p.canvas.Rectangle(1, 1, 5, 4);
    EXPECT_EQ(p.Rows(), testsupport::Rows(R"(
......
.####.
.#oo#.
.####.
......)"));
    Picture swapped(6, 5);
    swapped.canvas.Rectangle(5, 4, 1, 1);
    EXPECT_EQ(swapped.Rows(), p.Rows());
}

TEST(CanvasRectangle, TinySizes) {
    Picture p(12, 6);
    p.canvas.Rectangle(0, 0, 1, 1);  // 1 x 1: nothing
    p.canvas.Rectangle(2, 0, 2, 5);  // zero width: nothing
    p.canvas.Rectangle(3, 0, 4, 4);  // one pixel wide: a pen line
    p.canvas.Rectangle(5, 0, 9, 1);  // one pixel high: a pen line
    p.canvas.Rectangle(5, 2, 7, 4);  // 2 x 2: all pen
    p.canvas.Brush.Style = bsClear;
    p.canvas.Rectangle(8, 2, 11, 5);  // clear brush: the inside stays
    EXPECT_EQ(p.Rows(), testsupport::Rows(R"(
...#.####...
...#........
...#.##.###.
...#.##.#.#.
........###.
............)"));
}

TEST(CanvasRoundRect, CornerShapeOfASixPixelEllipse) {
    Picture p(8, 6);
    p.canvas.RoundRect(0, 0, 8, 6, 6, 6);
    EXPECT_EQ(p.Rows(), testsupport::Rows(R"(
..####..
.#oooo#.
#oooooo#
#oooooo#
.#oooo#.
..####..)"));
}

TEST(CanvasRoundRect, EllipseSizeRules) {
    const auto draw = [](int ew, int eh) {
        Picture p(24, 12);
        p.canvas.RoundRect(1, 1, 23, 11, ew, eh);
        return p.Rows();
    };
    const auto rectangle = [] {
        Picture p(24, 12);
        p.canvas.Rectangle(1, 1, 23, 11);
        return p.Rows();
    }();
    EXPECT_EQ(draw(2, 2), rectangle);  // a 2 x 2 ellipse: square corners
    EXPECT_EQ(draw(0, 7), rectangle);
    EXPECT_EQ(draw(11, 7), draw(10, 6));      // odd sizes draw as the even size below
    EXPECT_EQ(draw(100, 100), draw(22, 10));  // cut down to the rectangle
    EXPECT_NE(draw(10, 6), rectangle);
}

TEST(CanvasRoundRect, CircleCornersAreSymmetric) {
    for (int size = 2; size <= 40; ++size) {
        Picture p(size, size);
        p.canvas.RoundRect(0, 0, size, size, size, size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                ASSERT_EQ(p.surface.At(x, y), p.surface.At(y, x))
                    << "size " << size << " at " << x << ", " << y;
    }
}

TEST(CanvasPolygon, FillThenOutlineWithEveryVertex) {
    Picture p(7, 6);
    const std::vector<TPoint> square = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
    p.canvas.Polygon(square);
    EXPECT_EQ(p.Rows(), testsupport::Rows(R"(
.......
.#####.
.#ooo#.
.#ooo#.
.#####.
.......)"));
}

TEST(CanvasPolygon, EvenOddLeavesTwiceCoveredPartsOut) {
    // The square traced twice: covered twice, so outside under alternate.
    const std::vector<TPoint> twice = {{0, 0}, {6, 0}, {6, 6}, {0, 6},
                                       {0, 0}, {6, 0}, {6, 6}, {0, 6}};
    Picture alternate(7, 7), winding(7, 7);
    alternate.canvas.Polygon(twice, ALTERNATE);
    winding.canvas.Polygon(twice, WINDING);
    EXPECT_EQ(alternate.surface.At(3, 3), 0xFFFFFFu);
    EXPECT_EQ(winding.surface.At(3, 3), 0x0000FFu);
    // A self-intersecting star: its inner pentagon is crossed twice.
    const std::vector<TPoint> star = {{16, 2}, {25, 28}, {2, 11}, {30, 11}, {7, 28}};
    Picture starred(32, 32);
    starred.canvas.Polygon(star);
    EXPECT_EQ(starred.surface.At(16, 16), 0xFFFFFFu);
    EXPECT_EQ(starred.surface.At(16, 8), 0x0000FFu);
}

}  // namespace
