// The shadow label's painting and its TShadow objects, outside any form,
// with the fake font (FakeFontFace.h: each glyph a 4 x 7 box one pixel
// right of the pen, the boxes on rows 1 to 7 of a 10-row cell); and the
// gradient it can paint as its background.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/Canvas.h"
#include "gui/Exceptions.h"
#include "tests/support/PixelDiff.h"
#include "tests/unit/FakeFontFace.h"
#include "widgets/ShadoLbl.h"

namespace {

using namespace gui;
using widgets::TShadow;
using widgets::TShadowLabel;
using Rows = std::vector<std::string>;

constexpr TPixel kUntouched = 0xFF00FF;
constexpr TColor kBack = gfx::TColor{0xFEFDD6};
constexpr TColor kInk = gfx::TColor{0x2040A0};
constexpr TColor kShadowInk = gfx::TColor{0x00A000};
constexpr TColor kHighlightInk = gfx::TColor{0xE0E000};

struct Label {
    gfx::testing::FakeFontEngine fonts;
    TShadowLabel label{nullptr};
    TSurface surface;

    Label(int w, int h, const std::string& caption) : surface(w, h, kUntouched) {
        label.SetAutoSize(false);  // outside a form there is nothing to measure with
        label.SetBounds(0, 0, w, h);
        label.SetCaption(caption);
        label.SetColor(kBack);
        label.Font().SetColor(kInk);
        label.Shadow().SetColor(kShadowInk);
        label.Highlight().SetColor(kHighlightInk);
    }
    // '.' background, 't' text, 's' shadow, 'h' highlight, 'x' untouched,
    // 'g' gray, 'w' white.
    Rows Paint() {
        TCanvas canvas(surface, ClassicSystemColors::Instance(), &fonts);
        label.PaintTo(canvas);
        return testsupport::Grid(surface, {{PixelFromColor(kBack), '.'},
                                           {PixelFromColor(kInk), 't'},
                                           {PixelFromColor(kShadowInk), 's'},
                                           {PixelFromColor(kHighlightInk), 'h'},
                                           {PixelFromColor(clGray), 'g'},
                                           {PixelFromColor(clWhite), 'w'},
                                           {kUntouched, 'x'}});
    }
};

// ------------------------------------------------------------ painting

// The highlight (-1, -1) loses its top row and left column outside the
// label; the text covers both copies, the highlight covers the shadow.
TEST(ShadowLabelPaint, ShadowThenHighlightThenText) {
    Label l(8, 10, "A");
    EXPECT_EQ(l.Paint(), testsupport::Rows(R"(
hhhh....
htttt...
htttts..
htttts..
htttts..
htttts..
htttts..
.tttts..
..ssss..
........)"));
}

TEST(ShadowLabelPaint, DisabledColoursReplaceTheLabelsOwn) {
    Label l(8, 10, "A");
    l.label.SetEnabled(false);
    const Rows disabled = l.Paint();
    EXPECT_EQ(disabled[1], "wgggg...");  // text clBtnShadow over highlight clBtnHighlight
    EXPECT_EQ(disabled[8], "..gggg..");  // shadow clGray

    Label hidden(8, 10, "A");
    hidden.label.SetEnabled(false);
    hidden.label.Highlight().SetVisible(false);
    hidden.label.Shadow().SetVisible(false);
    const Rows rows = hidden.Paint();
    EXPECT_EQ(rows[0], "........");
    EXPECT_EQ(rows[8], "........");
}

TEST(ShadowLabelPaint, TransparentLeavesTheBackgroundEvenWithAGradient) {
    Label l(8, 10, "");
    l.label.SetTransparent(true);
    l.label.SetGradation(true);
    EXPECT_EQ(l.Paint(), Rows(10, "xxxxxxxx"));
}

// A lone "&" is painted as "& ": an underlined blank (the underline is
// the first row below the baseline, row 8).
TEST(ShadowLabelPaint, ALoneAmpersandBecomesAnUnderlinedBlank) {
    Label l(14, 10, "&");
    l.label.Shadow().SetVisible(false);
    l.label.Highlight().SetVisible(false);
    const Rows rows = l.Paint();
    EXPECT_EQ(rows[8], "tttttt........");
    EXPECT_EQ(rows[7], "..............");
}

// (H - TH) div 2 truncates toward zero: a 10-row text in a 5-row label
// moves up by 2, so its glyph rows 1 to 7 would land on rows -1 to 5; the
// moved rectangle (rows -2 to 2) clips them.
TEST(ShadowLabelPaint, CentredTextTallerThanTheLabelMovesUpByTruncatedHalf) {
    Label l(6, 5, "A");
    l.label.Shadow().SetVisible(false);
    l.label.Highlight().SetVisible(false);
    l.label.SetLayout(tlCenter);
    EXPECT_EQ(l.Paint(), (Rows{".tttt.", ".tttt.", ".tttt.", "......", "......"}));
}

// Every copy is laid out with the same flags, so the ellipsis shortens
// each of them alike: without it the 7th glyph reaches the right edge.
TEST(ShadowLabelPaint, AnEllipsisShortensEveryCopy) {
    Label l(40, 10, "AAAAAAAAAA");
    EXPECT_EQ(l.Paint()[4].substr(36), "httt");
    l.label.SetEllipsis(widgets::elEnd);  // "AAA..." is 36 wide
    const Rows rows = l.Paint();
    EXPECT_EQ(rows[4].substr(30), "htttts....");
    EXPECT_EQ(rows[0].substr(30), "hhhh......");
}

// ------------------------------------------------------------ TShadow

TEST(ShadowObject, SettersRaiseOnChangeOnlyForNewValues) {
    TShadow shadow;
    int changes = 0;
    shadow.OnChange = [&](TShadow* sender) {
        EXPECT_EQ(sender, &shadow);
        ++changes;
    };
    shadow.SetColor(clBlue);
    shadow.SetColor(clBlue);
    shadow.SetOffsetLeft(3);
    shadow.SetOffsetTop(0);  // unchanged
    shadow.SetVisible(true);
    EXPECT_EQ(changes, 3);
}

TEST(ShadowObject, AssignCopiesTheValuesButNotOnChangeAndRaisesItOnce) {
    TShadow source, target;
    source.SetVisible(true);
    source.SetColor(clRed);
    source.SetOffsetLeft(-2);
    source.SetOffsetTop(5);
    bool sourceHandlerRan = false;
    source.OnChange = [&](TShadow*) { sourceHandlerRan = true; };
    int changes = 0;
    target.OnChange = [&](TShadow*) { ++changes; };
    target.Assign(&source);
    target.Assign(&source);  // nothing differs, still one event
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(sourceHandlerRan);
    EXPECT_TRUE(target.Visible());
    EXPECT_EQ(target.Color(), clRed);
    EXPECT_EQ(target.OffsetLeft(), -2);
    EXPECT_EQ(target.OffsetTop(), 5);
    target.SetColor(clLime);
    EXPECT_FALSE(sourceHandlerRan);
}

class NotAShadow : public TPersistent {
public:
    std::string ClassName() const override { return "TFont"; }
};

TEST(ShadowObject, AssignFromAnythingElseFailsAndKeepsTheValues) {
    TShadow target;
    target.SetColor(clTeal);
    int changes = 0;
    target.OnChange = [&](TShadow*) { ++changes; };
    const NotAShadow other;
    try {
        target.Assign(&other);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "TFont を TShadow に代入することはできません");
    }
    try {
        target.Assign(nullptr);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "nil を TShadow に代入することはできません");
    }
    EXPECT_EQ(target.Color(), clTeal);
    EXPECT_EQ(changes, 0);
}

// ------------------------------------------------------------ gradient

std::vector<TPixel> Column(const TSurface& s, int x) {
    std::vector<TPixel> column;
    for (int y = 0; y < s.Height(); ++y) column.push_back(s.At(x, y));
    return column;
}

std::vector<TPixel> Row(const TSurface& s, int y) {
    return {s.Row(y), s.Row(y) + s.Width()};
}

TSurface Gradient(int w, int h, TColor start, TColor end, bool vertical) {
    TSurface s(w, h, kUntouched);
    TCanvas canvas(s);
    widgets::DrawGradation(canvas, s.BoundsRect(), start, end, vertical);
    return s;
}

TEST(Gradation, VerticalStepsTruncateTheMiddleValues) {
    const TSurface three = Gradient(2, 3, clBlack, clWhite, true);
    EXPECT_EQ(Column(three, 1), (std::vector<TPixel>{0x000000, 0x7F7F7F, 0xFFFFFF}));
    // Falling channels truncate the same way: 255 - 127.5 gives 127.
    EXPECT_EQ(Column(Gradient(1, 3, clWhite, clBlack, true), 0)[1], 0x7F7F7Fu);
}

// 255 x 1/3 is 84.99999999999999 in extended precision; plain double
// arithmetic rounds it to 85 before the truncation (0x55 and 0xAA).
TEST(Gradation, ProductsAndSumsKeepExtendedPrecision) {
    EXPECT_EQ(Column(Gradient(1, 4, clBlack, clWhite, true), 0),
              (std::vector<TPixel>{0x000000, 0x545454, 0xA9A9A9, 0xFFFFFF}));
    EXPECT_EQ(Row(Gradient(4, 1, clBlack, gfx::TColor{0x0000FF}, false), 0),
              (std::vector<TPixel>{0x000000, 0x540000, 0xA90000, 0xFF0000}));
}

TEST(Gradation, HorizontalImageIsOneRowPerTwentyAndStretched) {
    EXPECT_EQ(widgets::GradationImage(0, 0xFFFFFF, 7, 45, false).Height(), 3);
    EXPECT_EQ(widgets::GradationImage(0, 0xFFFFFF, 7, 19, false).Height(), 1);
    EXPECT_EQ(widgets::GradationImage(0, 0xFFFFFF, 7, 45, true).Width(), 1);
    const TSurface s = Gradient(5, 45, clBlue, clRed, false);
    const std::vector<TPixel> first = Row(s, 0);
    EXPECT_EQ(first.front(), PixelFromColor(clBlue));
    EXPECT_EQ(first.back(), PixelFromColor(clRed));
    for (int y = 1; y < 45; ++y) EXPECT_EQ(Row(s, y), first) << y;
}

TEST(Gradation, SystemColoursResolveAndDegenerateSizesAreSafe) {
    EXPECT_EQ(Row(Gradient(2, 1, clBtnShadow, clInfoBk, false), 0),
              (std::vector<TPixel>{0x808080, PixelFromColor(gfx::TColor{0xE1FFFF})}));
    EXPECT_EQ(Column(Gradient(3, 1, clNavy, clWhite, true), 0)[0], PixelFromColor(clNavy));
    EXPECT_EQ(Row(Gradient(1, 2, clNavy, clWhite, false), 1)[0], PixelFromColor(clNavy));
    TSurface s(3, 3, kUntouched);
    TCanvas canvas(s);
    widgets::DrawGradation(canvas, {1, 1, 1, 3}, clBlack, clWhite, false);
    widgets::DrawGradation(canvas, {2, 2, 0, 0}, clBlack, clWhite, true);
    EXPECT_EQ(s, TSurface(3, 3, kUntouched));
}

TEST(Gradation, ALabelWithGradationPaintsFromGradationColorToColor) {
    Label l(5, 3, "");
    l.label.SetGradation(true);
    l.label.SetGradationColor(clBlack);
    l.label.SetColor(clWhite);
    l.Paint();
    EXPECT_EQ(Row(l.surface, 2),
              (std::vector<TPixel>{0x000000, 0x3F3F3F, 0x7F7F7F, 0xBFBFBF, 0xFFFFFF}));
    l.label.SetGradateVert(true);
    l.Paint();
    EXPECT_EQ(Column(l.surface, 4), (std::vector<TPixel>{0x000000, 0x7F7F7F, 0xFFFFFF}));
}

}  // namespace
