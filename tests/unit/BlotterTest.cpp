// The blotter panel's picture, painted on a plain canvas the way the paint
// cycle paints a child: origin at the panel, clip to its bounds.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "gfx/Canvas.h"
#include "tests/support/PixelDiff.h"
#include "widgets/Blotter2.h"

namespace {

using namespace gui;
using widgets::TkestBlotter;
using Grid = std::vector<std::string>;

constexpr TPixel kOutside = 0xFF00FF;  // the surface around the panel
constexpr TColor kBoard = gfx::TColor{0xFEFDD6};    // the about box's board: unlike every fixed colour

TSurface Paint(int w, int h, TColor color, int margin = 0,
               const std::function<void(TkestBlotter&)>& setup = {}) {
    TkestBlotter panel(nullptr);
    panel.SetBounds(0, 0, w, h);
    panel.SetColor(color);
    if (setup) setup(panel);
    TSurface surface(w + 2 * margin, h + 2 * margin, kOutside);
    TCanvas canvas(surface);
    canvas.SetOrigin({margin, margin});
    canvas.IntersectClip(panel.ClientRect());
    panel.PaintTo(canvas);
    return surface;
}

// K black, S silver, Y yellow, O olive, '.' the board kBoard, '-' outside.
Grid Rows(const TSurface& s) {
    return testsupport::Grid(s, {{PixelFromColor(clBlack), 'K'},
                                 {PixelFromColor(clSilver), 'S'},
                                 {PixelFromColor(clYellow), 'Y'},
                                 {PixelFromColor(clOlive), 'O'},
                                 {PixelFromColor(kBoard), '.'},
                                 {kOutside, '-'}});
}

Grid Crop(const Grid& rows, int x, int y, int w, int h) {
    Grid out;
    for (int r = y; r < y + h; ++r) out.push_back(rows[std::size_t(r)].substr(std::size_t(x), std::size_t(w)));
    return out;
}

std::string Column(const Grid& rows, int x) {
    std::string out;
    for (const std::string& row : rows) out += row[std::size_t(x)];
    return out;
}

// tests/data/blotter_corners.txt: a name line, then the corner's rows.
std::map<std::string, Grid> LoadCorners() {
    std::ifstream in(std::string(SORIMO_TEST_DATA) + "/blotter_corners.txt");
    std::map<std::string, Grid> corners;
    std::string line, name;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (std::islower(static_cast<unsigned char>(line[0])))
            name = line;
        else
            corners[name].push_back(line);
    }
    return corners;
}

TEST(BlotterPicture, CornersMatchTheReferenceAtEverySizeFromThirtyThree) {
    const std::map<std::string, Grid> corners = LoadCorners();
    ASSERT_EQ(corners.size(), 4u);
    struct Size {
        int W, H;
    };
    for (const Size s : {Size{33, 33}, Size{210, 102}, Size{327, 152}, Size{50, 50}}) {
        SCOPED_TRACE(std::to_string(s.W) + "x" + std::to_string(s.H));
        const Grid rows = Rows(Paint(s.W, s.H, kBoard));
        EXPECT_EQ(Crop(rows, 0, 0, 17, 17), corners.at("top-left"));
        EXPECT_EQ(Crop(rows, s.W - 17, 0, 17, 17), corners.at("top-right"));
        EXPECT_EQ(Crop(rows, 0, s.H - 17, 17, 17), corners.at("bottom-left"));
        EXPECT_EQ(Crop(rows, s.W - 17, s.H - 17, 17, 17), corners.at("bottom-right"));
    }
}

TEST(BlotterPicture, EdgesAwayFromTheCornersAreRuledAlongTheirWholeLength) {
    const int w = 210, h = 102;
    const Grid rows = Rows(Paint(w, h, kBoard));
    // From the outside in: black, silver, two board pixels, black on the
    // left and top; black, two board pixels, silver on the right and bottom.
    const std::string across = "KS..K" + std::string(std::size_t(w - 9), '.') + "S..K";
    const std::string down = "KS..K" + std::string(std::size_t(h - 9), '.') + "S..K";
    for (int y = 17; y < h - 17; ++y) EXPECT_EQ(rows[std::size_t(y)], across) << "row " << y;
    for (int x = 17; x < w - 17; ++x) EXPECT_EQ(Column(rows, x), down) << "column " << x;
}

TEST(BlotterPicture, SmallPanelsOverlapTheirCornersInDrawingOrderAndStayInside) {
    // Every step still runs, later ones winning; this is what the steps give
    // at 20 x 12, and a 1 x 1 panel keeps only the black rule.
    const Grid expected20x12{
        "KYOOYKKKKKKKKKKKKKKK", "KYOOOKYYYYYYYYYYOOOK", "KYOOOOOOOOOOOOOOOOOK",
        "KYOOOOOOOOOOOOOOOOOK", "KYOOOOOOOOOOOOOOOOOK", "KYOOOKKKKKKKKKKYOOOK",
        "KYOOOK.........YOOOK", "KYOOOKYYYYYKYYYYOOOK", "KYOOOOOOOOOOOOOOOOOK",
        "KYOOOOOOOOOOOOOOOOOK", "KYOOOOOOOOOOOOOOOOOK", "KKKKKKKKKKKKKKKKKKKK"};
    const int m = 3;
    const TSurface small = Paint(20, 12, kBoard, m);
    EXPECT_EQ(Crop(Rows(small), m, m, 20, 12), expected20x12);
    const TSurface dot = Paint(1, 1, kBoard, m);
    EXPECT_EQ(Crop(Rows(dot), m, m, 1, 1), Grid{"K"});

    // Pixels outside the panel that are no longer the surrounding surface.
    const auto touchedOutside = [&](const TSurface& s, int w, int h) {
        int touched = 0;
        for (int y = 0; y < s.Height(); ++y)
            for (int x = 0; x < s.Width(); ++x)
                touched += !TRect{m, m, m + w, m + h}.Contains({x, y}) && s.At(x, y) != kOutside;
        return touched;
    };
    EXPECT_EQ(touchedOutside(small, 20, 12), 0);
    EXPECT_EQ(touchedOutside(dot, 1, 1), 0);
    EXPECT_EQ(touchedOutside(Paint(0, 5, kBoard, m), 0, 5), 0);
    EXPECT_EQ(touchedOutside(Paint(5, 0, kBoard, m), 5, 0), 0);
}

TEST(BlotterPicture, OnlyTheBoardFollowsColorEvenInTheFrameColours) {
    const TSurface reference = Paint(60, 40, kBoard);
    const TPixel board = PixelFromColor(kBoard);
    for (const TColor color : {clBlack, clSilver, clYellow, clOlive, clWhite, clBtnFace}) {
        TSurface expected = reference;
        const TPixel now = ClassicSystemColors::Instance().Resolve(color);
        for (int y = 0; y < expected.Height(); ++y)
            for (int x = 0; x < expected.Width(); ++x)
                if (expected.At(x, y) == board) expected.Set(x, y, now);
        EXPECT_TRUE(testsupport::SamePixels(expected, Paint(60, 40, color), "blotter-color"))
            << std::hex << ColorValue(color);
    }
}

TEST(BlotterPicture, CaptionBorderAndBevelsNeverShow) {
    const TSurface plain = Paint(52, 52, kBoard);
    const TSurface configured = Paint(52, 52, kBoard, 0, [](TkestBlotter& panel) {
        panel.SetCaption("SorimoP2");
        panel.SetBorderWidth(8);
        panel.SetBevelOuter(bvLowered);
        panel.SetBevelInner(bvRaised);
        panel.SetBevelWidth(3);
    });
    EXPECT_TRUE(testsupport::SamePixels(plain, configured, "blotter-settings"));
}

}  // namespace
