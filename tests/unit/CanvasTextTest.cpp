// Painting text on the canvas with the fake face (FakeFontFace.h): each
// glyph a 4 x 7 box one pixel right of the pen, standing on the baseline 8
// rows below the top of a 10-row cell, so the pictures can be drawn by hand.
// Legend: '.' untouched white, 'Y' background (yellow brush), 'R' ink (red).
#include <gtest/gtest.h>

#include <stdexcept>

#include "gfx/Canvas.h"
#include "gfx/TextLayout.h"
#include "tests/support/PixelDiff.h"
#include "tests/unit/FakeFontFace.h"

namespace gfx {
namespace {

using Picture = std::vector<std::string>;

constexpr TPixel kWhite = 0xFFFFFF;
constexpr TPixel kRed = 0xFF0000;
constexpr TPixel kYellow = 0xFFFF00;

class CanvasTextTest : public ::testing::Test {
protected:
    CanvasTextTest() {
        canvas_.Font.SetColor(clRed);
        canvas_.Brush.Color = clYellow;
    }
    Picture Drawn() const { return testsupport::Grid(surface_, {{kWhite, '.'}, {kRed, 'R'}, {kYellow, 'Y'}}); }

    testing::FakeFontEngine engine_;
    TSurface surface_{16, 12, kWhite};
    TCanvas canvas_{surface_, ClassicSystemColors::Instance(), &engine_};
};

TEST_F(CanvasTextTest, TextOutPutsTheCellAtXYOnAnOpaqueBackground) {
    canvas_.TextOut(1, 1, "ab");
    EXPECT_EQ(Drawn(), (Picture{
                           "................",
                           ".YYYYYYYYYYYY...",
                           ".YRRRRYYRRRRY...",
                           ".YRRRRYYRRRRY...",
                           ".YRRRRYYRRRRY...",
                           ".YRRRRYYRRRRY...",
                           ".YRRRRYYRRRRY...",
                           ".YRRRRYYRRRRY...",
                           ".YRRRRYYRRRRY...",
                           ".YYYYYYYYYYYY...",
                           ".YYYYYYYYYYYY...",
                           "................",
                       }));
    EXPECT_EQ(canvas_.PenPos(), (TPoint{13, 1}));
}

TEST_F(CanvasTextTest, ClearBrushLeavesTheBackgroundAlone) {
    canvas_.Brush.Style = bsClear;
    canvas_.TextOut(1, 1, "a");
    const Picture p = Drawn();
    EXPECT_EQ(p[1], "................");
    EXPECT_EQ(p[2], "..RRRR..........");
    EXPECT_EQ(p[9], "................");
}

TEST_F(CanvasTextTest, TextStaysInsideTheClipAndFollowsTheOrigin) {
    canvas_.SetOrigin({3, 1});
    canvas_.IntersectClip({0, 0, 5, 6});  // surface columns 3..7, rows 1..6
    canvas_.TextOut(-1, 0, "ab");
    const Picture p = Drawn();
    EXPECT_EQ(p[0], "................");
    EXPECT_EQ(p[1], "...YYYYY........");
    EXPECT_EQ(p[2], "...RRRRY........");
    EXPECT_EQ(p[6], "...RRRRY........");
    EXPECT_EQ(p[7], "................");
}

TEST_F(CanvasTextTest, DrawTextClipsToItsRectangleUnlessNoClip) {
    canvas_.Brush.Style = bsClear;
    TRect rect{0, 0, 8, 12};
    canvas_.DrawText("ab", rect, DT_LEFT);
    EXPECT_EQ(Drawn()[4], ".RRRR..R........");
    canvas_.DrawText("ab", rect, DT_LEFT | DT_NOCLIP);
    EXPECT_EQ(Drawn()[4], ".RRRR..RRRR.....");
}

TEST_F(CanvasTextTest, DrawTextFillsOnlyTheLinesCellsAndAlignsThem) {
    TRect rect{1, 0, 15, 12};  // 14 wide: "ab" (12) centred starts 1 in
    EXPECT_EQ(canvas_.DrawText("ab", rect, DT_CENTER | DT_SINGLELINE | DT_BOTTOM), 12);
    EXPECT_EQ(Drawn(), (Picture{
                           "................",
                           "................",
                           "..YYYYYYYYYYYY..",
                           "..YRRRRYYRRRRY..",
                           "..YRRRRYYRRRRY..",
                           "..YRRRRYYRRRRY..",
                           "..YRRRRYYRRRRY..",
                           "..YRRRRYYRRRRY..",
                           "..YRRRRYYRRRRY..",
                           "..YRRRRYYRRRRY..",
                           "..YYYYYYYYYYYY..",
                           "..YYYYYYYYYYYY..",
                       }));
}

TEST_F(CanvasTextTest, UnderlinesTheAcceleratorOrTheWholeLine) {
    canvas_.Brush.Style = bsClear;
    TRect rect{0, 0, 16, 12};
    canvas_.DrawText("a&b", rect, DT_LEFT);
    EXPECT_EQ(Drawn()[8], "......RRRRRR....");
    surface_.Fill(kWhite);
    canvas_.Font.SetStyle(fsUnderline);
    canvas_.DrawText("a&&", rect, DT_LEFT);  // "a&", no accelerator
    EXPECT_EQ(Drawn()[8], "RRRRRRRRRRRR....");
}

TEST_F(CanvasTextTest, CalcRectMeasuresWithoutDrawing) {
    TRect rect{2, 3, 4, 5};
    EXPECT_EQ(canvas_.DrawText("ab\nabc", rect, DT_CALCRECT), 20);
    EXPECT_EQ(rect, (TRect{2, 3, 20, 23}));
    EXPECT_EQ(Drawn(), Picture(12, "................"));
}

TEST_F(CanvasTextTest, CoverageBlendsTheFontColourOverTheSurface) {
    canvas_.Brush.Style = bsClear;
    canvas_.Font.SetColor(gfx::TColor{0x010101});
    canvas_.TextOut(0, 0, "*");
    EXPECT_EQ(surface_.At(1, 7), 0x808080u);  // (1 * 128 + 255 * 127) / 255 = 128.0, rounded
    canvas_.Font.SetColor(clWindowText);      // a system colour is resolved
    canvas_.TextOut(6, 0, "a");
    EXPECT_EQ(surface_.At(7, 1), 0x000000u);
}

TEST_F(CanvasTextTest, MeasuresWithTheCurrentFontAndReopensOnlyOnChange) {
    EXPECT_EQ(canvas_.TextWidth("abc"), 18);
    EXPECT_EQ(canvas_.TextWidth("&a\tb"), 18);  // TextOut has no prefixes or tab stops
    EXPECT_EQ(canvas_.TextHeight("abc"), 10);
    EXPECT_EQ(engine_.Opens, 1);
    canvas_.Font.SetStyle(fsBold);
    canvas_.TextWidth("abc");
    EXPECT_EQ(engine_.Opens, 2);
}

TEST(CanvasTextWithoutFonts, IsAProgrammingError) {
    TSurface surface(4, 4);
    TCanvas canvas(surface);
    EXPECT_THROW(canvas.TextWidth("a"), std::logic_error);
}

}  // namespace
}  // namespace gfx
