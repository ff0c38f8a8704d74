// The LED button's pictures, painted on a plain canvas outside any form with
// the fake font (FakeFontFace.h: each glyph a 4 x 7 box one pixel right of
// the pen in a 10-row cell). Its looks are reached through the mouse entry
// points; input through a form is in the scenario tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/Canvas.h"
#include "tests/support/PixelDiff.h"
#include "tests/unit/FakeFontFace.h"
#include "widgets/Veltobtn.h"

namespace {

using namespace gui;
using widgets::TVeltoButton;
using Rows = std::vector<std::string>;

constexpr TPixel kUntouched = 0xFF00FF;  // magenta: what the parent left there
constexpr TColor kFace = gfx::TColor{0xFEFDD6};       // the about box's panel
constexpr TColor kInk = gfx::TColor{0x2040A0};
constexpr TColor kLamp = gfx::TColor{0x0080FF};

enum class Look { Rest, Raised, Sunk };

struct Led {
    gfx::testing::FakeFontEngine fonts;
    TVeltoButton button{nullptr};
    TSurface surface;

    Led(int w, int h, const std::string& caption = "OK") : surface(w, h, kUntouched) {
        button.SetBounds(0, 0, w, h);
        button.SetColor(kFace);
        button.SetCaption(caption);
        button.Font().SetColor(kInk);
    }
    void Bring(Look look) {
        if (look != Look::Rest) button.CMMouseEnter();
        if (look == Look::Sunk) button.WMButtonDown(mbLeft, 0, 5, 5);
    }
    void Paint() {
        TCanvas canvas(surface, ClassicSystemColors::Instance(), &fonts);
        button.PaintTo(canvas);
    }
    // '.' face, 's' clBtnShadow or ShadowColor (both gray), 'h' highlight or
    // border (both white), 'L' the lamp colour, 'T' caption ink, 'x'
    // untouched.
    Rows Grid(TColor lamp = kLamp, TColor ink = kInk) const {
        return testsupport::Grid(surface, {{PixelFromColor(kFace), '.'},
                                           {PixelFromColor(clGray), 's'},
                                           {PixelFromColor(clWhite), 'h'},
                                           {PixelFromColor(lamp), 'L'},
                                           {PixelFromColor(ink), 'T'},
                                           {kUntouched, 'x'}});
    }
    // `width` characters of row y from column x.
    std::string Cut(const Rows& grid, int x, int y, int width) const {
        return grid[std::size_t(y)].substr(std::size_t(x), std::size_t(width));
    }
};

const Rows kLampRows{
    "..sss..",  //
    ".sLLLh.",  //
    "sLLLLLh",  //
    "sLhLLLh",  //
    "sLLLLLh",  //
    ".sLLLh.",  //
    "..hhh..",
};

Rows LampAt(const Led& led, const Rows& grid, int x, int y) {
    Rows lamp;
    for (int row = 0; row < 7; ++row) lamp.push_back(led.Cut(grid, x, y + row, 7));
    return lamp;
}

TEST(VeltoButtonPicture, ANewButtonRestsWithASilverLampAndNoFrame) {
    const TVeltoButton fresh(nullptr);
    EXPECT_EQ(fresh.Caption(), "Velto Button");
    EXPECT_EQ(fresh.BoundsRect(), (TRect{0, 0, 100, 25}));
    Led led(100, 25, "");
    led.Paint();
    const Rows grid = led.Grid(clSilver);
    EXPECT_EQ(LampAt(led, grid, 10, 9), kLampRows);
    // No frame line anywhere on the middle column; the corners stay as the
    // parent left them.
    for (int y = 0; y < 25; ++y) EXPECT_EQ(grid[std::size_t(y)][50], '.') << y;
    EXPECT_EQ(grid[0][0], 'x');
    EXPECT_EQ(grid[24][99], 'x');
}

// The about box's 79 x 27 button: the lamp moves up and left only while
// raised; the frame line sits at the outer edge raised with the shadow
// outside it, one pixel in when sunk.
TEST(VeltoButtonPicture, TheThreeLooksPlaceLampAndFrame) {
    struct Case {
        Look look;
        TColor lampColor;
        int lampX, lampY;
        std::string middleColumn;  // rows 0, 1, 2, H-3, H-2, H-1
    };
    const Case cases[] = {
        {Look::Rest, clSilver, 10, 10, "......"},
        {Look::Raised, clNavy, 9, 9, "h...hs"},
        {Look::Sunk, clLime, 10, 10, ".h...h"},
    };
    for (const Case& c : cases) {
        Led led(79, 27);
        led.Bring(c.look);
        led.Paint();
        const Rows grid = led.Grid(c.lampColor);
        EXPECT_EQ(LampAt(led, grid, c.lampX, c.lampY), kLampRows) << int(c.look);
        std::string middle;
        for (int y : {0, 1, 2, 24, 25, 26}) middle += grid[std::size_t(y)][39];
        EXPECT_EQ(middle, c.middleColumn) << int(c.look);
        EXPECT_EQ(grid[0][0], 'x') << int(c.look);
    }
}

// "OK" is 12 x 10: x = (79 - 12) div 2 + Space + t, y = (27 - 10) div 2 + t
// with t = 0 raised, 1 otherwise; the glyph boxes start one row and one
// column into the cell.
TEST(VeltoButtonPicture, TheCaptionSitsOnePixelFurtherDownAndRightUnlessRaised) {
    for (Look look : {Look::Rest, Look::Raised, Look::Sunk}) {
        Led led(79, 27);
        led.Bring(look);
        led.Paint();
        const int t = look == Look::Raised ? 0 : 1;
        const Rows grid = led.Grid(clSilver);
        EXPECT_EQ(led.Cut(grid, 42 + t, 8 + t, 15), "...............") << int(look);
        EXPECT_EQ(led.Cut(grid, 42 + t, 9 + t, 15), "..TTTT..TTTT...") << int(look);
        EXPECT_EQ(led.Cut(grid, 42 + t, 15 + t, 15), "..TTTT..TTTT...") << int(look);
        EXPECT_EQ(led.Cut(grid, 42 + t, 16 + t, 15), "...............") << int(look);
    }
}

TEST(VeltoButtonPicture, TheCaptionCellCoversTheLampWhereTheyMeet) {
    Led led(79, 27);
    led.button.SetSpace(-30);  // caption cell from x = 4 to 16, rows 9 to 18
    led.Paint();
    const Rows grid = led.Grid(clSilver);
    // The glyphs and the gap between them cover the lamp's first six
    // columns; its last column (x 16) lies beyond the cell.
    EXPECT_EQ(led.Cut(grid, 4, 12, 13), ".TTTT..TTTT.h");
    EXPECT_EQ(led.Cut(grid, 10, 10, 7), ".TTTT..");
}

TEST(VeltoButtonPicture, ADisabledButtonRestsWithTheOffLampAndGrayText) {
    Led led(79, 27);
    led.button.SetLedOffColor(kLamp);
    led.Bring(Look::Sunk);
    led.button.SetEnabled(false);
    led.Paint();
    const Rows grid = led.Grid(kLamp);
    EXPECT_EQ(LampAt(led, grid, 10, 10), kLampRows);
    // The rest look's caption, in clGrayText (gray like the lamp's shadow).
    EXPECT_EQ(led.Cut(grid, 43, 10, 15), "..ssss..ssss...");
    EXPECT_EQ(led.button.Font().Color(), kInk);
}

// Integer division truncates toward zero: negative starts round up.
TEST(VeltoButtonPicture, NegativeStartsTruncateTowardZero) {
    Led low(30, 4, "");
    low.Paint();  // lamp row (4 - 7) div 2 = -1: its top row is cut away
    EXPECT_EQ(low.Cut(low.Grid(clSilver), 11, 0, 5), "sLLLh");

    Led wide(25, 12, "AAAAA");  // 30 wide: (25 - 30) div 2 = -2, plus t = 1
    wide.button.SetSpace(0);
    wide.Paint();
    EXPECT_EQ(wide.Cut(wide.Grid(clSilver), 0, 3, 11), "TTTT..TTTT.");
}

}  // namespace
