// Canvas state: origin and clip, nothing drawn outside the clip whatever
// the input, saved state, single pixels and system colours.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <vector>

#include "gfx/Canvas.h"
#include "tests/support/PixelDiff.h"

namespace {

using namespace gfx;

constexpr int kHuge = 1 << 30;
constexpr TPixel kUntouched = 0x123456;

// Every raster operation, with arguments chosen to cross or cover the clip.
std::vector<std::function<void(TCanvas&)>> Operations(int far) {
    static const TSurface source(4, 4, 0xABCDEF);
    return {
        [=](TCanvas& c) {
            c.MoveTo(-far, -far / 2);
            c.LineTo(far, far / 3);
        },
        [=](TCanvas& c) {
            c.MoveTo(-far, 3);
            c.LineTo(far, 3);
        },
        [=](TCanvas& c) { c.Rectangle(-far, -far, far, far); },
        [=](TCanvas& c) {
            c.FillRect({-far, -far, far, far});
        },
        [=](TCanvas& c) { c.RoundRect(-far, -far, far, far, far, far); },
        [=](TCanvas& c) {
            c.Polygon(std::vector<TPoint>{{-far, -far}, {far, 0}, {0, far}});
        },
        [=](TCanvas& c) {
            c.FillRegion(
                TRegion::FromPolygon(std::vector<TPoint>{{-far, -far}, {far, 0}, {0, far}}), clRed);
        },
        [=](TCanvas& c) {
            c.FrameRgn(TRegion::FromPolygon(std::vector<TPoint>{{-far, -far}, {far, 0}, {0, far}}),
                       clRed, far, 2);
        },
        [=](TCanvas& c) {
            c.SetPixel(far, far, clRed);
            c.SetPixel(0, 0, clRed);
        },
        [=](TCanvas& c) { c.BitBlt(-far, -far, INT_MAX, INT_MAX, source, -far, -far); },
        [=](TCanvas& c) {
            c.StretchBlt({-far, -far, far, far}, source, {0, 0, 4, 4});
        },
        [=](TCanvas& c) {
            c.Draw(-2, -2, TIcon(TSurface(9, 9, 0xFF), std::vector<std::uint8_t>(81, 255)));
        },
    };
}

// Counts pixels outside `clip` (surface coordinates) that changed.
int ChangedOutside(const TSurface& s, const TRect& clip) {
    int count = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            count += !clip.Contains({x, y}) && s.At(x, y) != kUntouched;
    return count;
}

TEST(CanvasClip, NothingIsWrittenOutsideTheClip) {
    for (int far : {20, kHuge, INT_MAX}) {
        int index = 0;
        for (const auto& operation : Operations(far)) {
            TSurface s(24, 20, kUntouched);
            TCanvas c(s);
            c.SetOrigin({5, 4});
            c.IntersectClip({-2, -1, 9, 7});  // surface (3, 3) - (14, 11)
            EXPECT_EQ(c.ClipRect(), (TRect{-2, -1, 9, 7}));
            operation(c);
            EXPECT_EQ(ChangedOutside(s, {3, 3, 14, 11}), 0)
                << "operation " << index << ", far " << far;
            ++index;
        }
    }
}

TEST(CanvasClip, ExtremeOriginsAndEmptySizesDrawNothingAndDoNotOverflow) {
    for (TPoint origin :
         {TPoint{INT_MAX, INT_MAX}, TPoint{INT_MIN, INT_MIN}, TPoint{INT_MAX, INT_MIN}}) {
        for (const auto& operation : Operations(INT_MAX)) {
            TSurface s(8, 8, kUntouched);
            TCanvas c(s);
            c.SetOrigin(origin);
            c.IntersectClip({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
            EXPECT_LE(c.ClipRect().Left, c.ClipRect().Right);  // clamped, not wrapped
            operation(c);
        }
    }
    TSurface s(8, 8, kUntouched);
    TCanvas c(s);
    c.BitBlt(0, 0, 0, 5, s, 0, 0);
    c.BitBlt(0, 0, -4, -4, s, 0, 0);
    c.StretchBlt({0, 0, 8, 8}, TSurface(), {0, 0, 0, 0});
    c.StretchBlt({5, 5, 0, 0}, s, {0, 0, 2, 2});
    c.FillRect({6, 6, 2, 2});
    c.Polygon(std::vector<TPoint>{});
    EXPECT_EQ(ChangedOutside(s, {}), 0);
}

TEST(CanvasClip, ClipsOnlyNarrowAndStateSaverRestoresEverything) {
    TSurface s(10, 10);
    TCanvas c(s);
    EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 10, 10}));
    {
        TCanvas::StateSaver saved(c);
        c.SetOrigin({2, 3});
        c.IntersectClip({0, 0, 20, 20});
        EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 8, 7}));
        c.IntersectClip({50, 50, 60, 60});
        EXPECT_TRUE(c.ClipRect().IsEmpty());
        c.Pen.Color = clRed;
        c.Brush = {clGreen, bsClear};
        c.MoveTo(4, 4);
    }
    EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 10, 10}));
    EXPECT_EQ(c.Origin(), (TPoint{0, 0}));
    EXPECT_EQ(c.Pen.Color, clBlack);
    EXPECT_EQ(c.Brush.Style, bsSolid);
    EXPECT_EQ(c.PenPos(), (TPoint{0, 0}));
}

TEST(CanvasPixel, SetAndGetFollowOriginAndClip) {
    TSurface s(4, 4, 0xFFFFFF);
    TCanvas c(s);
    c.SetOrigin({1, 1});
    c.SetPixel(0, 0, clRed);
    EXPECT_EQ(s.At(1, 1), 0xFF0000u);
    EXPECT_EQ(c.GetPixel(0, 0), clRed);
    c.IntersectClip({0, 0, 1, 1});
    c.SetPixel(1, 1, clRed);
    EXPECT_EQ(s.At(2, 2), 0xFFFFFFu);
    EXPECT_EQ(c.GetPixel(1, 1), clBlack);  // outside the clip
}

class SwappablePalette : public TSystemColors {
public:
    TColor face = gfx::TColor{0x112233};
    TColor SystemColor(int index) const override { return index == 15 ? face : clBlack; }
};

TEST(CanvasColors, SystemColoursAreResolvedWhenDrawn) {
    SwappablePalette palette;
    TSurface s(2, 1);
    TCanvas c(s, palette);
    c.Brush.Color = clBtnFace;
    c.FillRect({0, 0, 1, 1});
    palette.face = gfx::TColor{0x445566};  // the same brush colour now draws the new value
    c.FillRect({1, 0, 2, 1});
    EXPECT_EQ(s.At(0, 0), 0x332211u);
    EXPECT_EQ(s.At(1, 0), 0x665544u);
    TSurface classic(1, 1);
    TCanvas d(classic);
    d.Pen.Color = clBtnShadow;
    d.Rectangle(0, 0, 1, 2);
    EXPECT_EQ(classic.At(0, 0), 0x808080u);
}

}  // namespace
