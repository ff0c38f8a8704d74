// The arrow button's pictures and geometry, painted on a plain canvas
// outside any form. Input through a form is in the scenario tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "gfx/Canvas.h"
#include "platform/png/PngFile.h"
#include "tests/support/PixelDiff.h"
#include "widgets/arrowbtn.h"

namespace {

using namespace gui;
using widgets::TArrowButton;
using widgets::TButtonDirection;
using Grid = std::vector<std::string>;
using Triangle = std::array<TPoint, 3>;

constexpr TPixel kBack = 0xFF00FF;  // magenta, so that the white edge shows
constexpr TColor kFace = gfx::TColor{0xE97D6D};  // the launcher's buttons

const std::string kData = SORIMO_TEST_DATA;

struct Arrow {
    TArrowButton button{nullptr};
    TSurface surface;

    Arrow(TButtonDirection direction, int w = 36, int h = 36, TColor face = kFace)
        : surface(w, h, kBack) {
        button.SetBounds(0, 0, w, h);
        button.SetDirection(direction);
        button.SetButtonColor(face);
        Paint();
    }
    void Paint() {
        TCanvas canvas(surface);
        button.PaintTo(canvas);
    }
    // A left press inside the triangle, then a repaint in the pressed look.
    void Press() {
        const auto& [p0, p1, p2] = button.Points();
        button.WMButtonDown(mbLeft, 0, (p0.X + p1.X + p2.X) / 3, (p0.Y + p1.Y + p2.Y) / 3);
        ASSERT_TRUE(button.Pressed());
        Paint();
    }
    // '.' background, K black, W white, B ButtonColor.
    Grid Rows() const {
        return testsupport::Grid(surface, {{kBack, '.'},
                                           {PixelFromColor(clBlack), 'K'},
                                           {PixelFromColor(clWhite), 'W'},
                                           {PixelFromColor(button.ButtonColor()), 'B'}});
    }
};

// tests/data/arrow_36x36.txt: a name line, then the picture's rows.
std::map<std::string, Grid> LoadPictures() {
    std::ifstream in(kData + "/arrow_36x36.txt");
    std::map<std::string, Grid> pictures;
    std::string line, name;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (line.find(' ') != std::string::npos)
            name = line;
        else
            pictures[name].push_back(line);
    }
    return pictures;
}

TEST(ArrowButtonPicture, LauncherButtonsMatchTheirRecordedPictures) {
    const std::map<std::string, Grid> pictures = LoadPictures();
    for (const auto& [direction, name] : {std::pair{widgets::arwUP, "up"}, {widgets::arwDOWN, "down"}}) {
        Arrow arrow(direction);
        EXPECT_EQ(arrow.Rows(), pictures.at(std::string(name) + " released")) << name;
        arrow.Press();
        EXPECT_EQ(arrow.Rows(), pictures.at(std::string(name) + " pressed")) << name;
    }
}

// With a black face, the pressed look is all black: the rim plus the inner
// triangle. The rim must be GDI's 2 x 2 frame of the outer triangle, and
// nothing may fall outside the outer triangle's region (whose rows, the
// triangle being convex, run from the first to the last frame pixel).
TEST(ArrowButtonPicture, RimIsTheFrameOfTheOuterTriangleAndNothingLeavesIt) {
    for (const auto& [direction, file] : {std::pair{widgets::arwUP, "framergn_tri1_36x36.png"},
                                          {widgets::arwDOWN, "framergn_tri2_36x36.png"}}) {
        SCOPED_TRACE(file);
        const TSurface frame = platform::ReadPng(kData + "/gdi-reference/" + file);
        Arrow arrow(direction, 36, 36, clBlack);
        arrow.Press();
        for (int y = 0; y < 36; ++y) {
            int first = 36, last = -1;
            for (int x = 0; x < 36; ++x) {
                if (frame.At(x, y) != 0) continue;
                first = std::min(first, x);
                last = x;
            }
            for (int x = 0; x < 36; ++x) {
                const TPixel got = arrow.surface.At(x, y);
                if (frame.At(x, y) == 0) {
                    EXPECT_EQ(got, 0u) << "rim pixel " << x << "," << y;
                }
                if (x < first || x > last) {
                    EXPECT_EQ(got, kBack) << "outside " << x << "," << y;
                }
            }
        }
    }
}

// The pixels a line from a to b sets (b left out), by the canvas's rule.
std::vector<TPoint> LinePixels(TPoint a, TPoint b) {
    TSurface s(36, 36, 0);
    TCanvas canvas(s);
    canvas.Pen.Color = clWhite;
    canvas.MoveTo(a.X, a.Y);
    canvas.LineTo(b.X, b.Y);
    std::vector<TPoint> pixels;
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 36; ++x)
            if (s.At(x, y) != 0) pixels.push_back({x, y});
    return pixels;
}

// The inner triangle of the launcher's buttons as the design states it, and
// the colours along its edges: the lit edge P0-P2 is white while released
// and black when pressed; the other two are black while released and sink
// into the face when pressed. Pixels two edges share near a vertex are left
// to the recorded pictures.
TEST(ArrowButtonPicture, BevelEdgesFollowThePressedState) {
    struct Case {
        TButtonDirection Direction;
        Triangle Inner;
    };
    for (const Case& c : {Case{widgets::arwUP, {{{18, 6}, {29, 31}, {6, 31}}}},
                          Case{widgets::arwDOWN, {{{30, 5}, {18, 30}, {5, 5}}}}}) {
        Arrow arrow(c.Direction);
        ASSERT_EQ(arrow.button.Points(), c.Inner);
        const auto& [p0, p1, p2] = c.Inner;
        const std::array<std::vector<TPoint>, 3> edges{LinePixels(p0, p1), LinePixels(p1, p2),
                                                       LinePixels(p0, p2)};
        std::map<std::pair<int, int>, int> owner;  // pixel -> edge, -1 when shared
        for (int e = 0; e < 3; ++e)
            for (const TPoint p : edges[std::size_t(e)]) {
                const auto [it, fresh] = owner.emplace(std::pair{p.X, p.Y}, e);
                if (!fresh) it->second = -1;
            }
        // Colours of P0, P1, P2, then of edges P0-P1, P1-P2, P0-P2.
        const auto check = [&](const std::string& expected) {
            const Grid rows = arrow.Rows();
            const auto at = [&](TPoint p) { return rows[std::size_t(p.Y)][std::size_t(p.X)]; };
            EXPECT_EQ(std::string({at(p0), at(p1), at(p2)}), expected.substr(0, 3));
            for (const auto& [xy, e] : owner) {
                const TPoint p{xy.first, xy.second};
                if (e < 0 || p == p0 || p == p1 || p == p2) continue;
                EXPECT_EQ(at(p), expected[3 + std::size_t(e)]) << "edge " << e << " at " << p.X << "," << p.Y;
            }
        };
        check("WKKKKW");
        arrow.Press();
        check("BBKBBK");
    }
}

TEST(ArrowButtonGeometry, InnerVerticesFollowEachDirectionsOwnOffsets) {
    // 35 x 29: odd and not square, so halves round down and W and H differ.
    const std::map<TButtonDirection, Triangle> inner{
        {widgets::arwUP, {{{17, 6}, {28, 24}, {6, 24}}}},
        {widgets::arwRIGHT, {{{5, 6}, {29, 14}, {5, 23}}}},
        {widgets::arwLEFT, {{{30, 6}, {30, 24}, {6, 14}}}},
        {widgets::arwDOWN, {{{29, 5}, {17, 23}, {5, 5}}}},
    };
    for (const auto& [direction, points] : inner) {
        Arrow arrow(direction, 35, 29);
        EXPECT_EQ(arrow.button.Points(), points) << int(direction);
        ASSERT_TRUE(arrow.button.HitRegion());
        const auto& [p0, p1, p2] = points;
        EXPECT_TRUE(arrow.button.HitRegion()->Contains((p0.X + p1.X + p2.X) / 3, (p0.Y + p1.Y + p2.Y) / 3));
        EXPECT_FALSE(arrow.button.HitRegion()->Contains(0, 0));
    }
}

TEST(ArrowButtonGeometry, HitRegionExistsOnlyAfterAPaintOfAKnownDirection) {
    TArrowButton button(nullptr);
    EXPECT_FALSE(button.HitRegion());
    EXPECT_EQ(button.Width(), 33);
    EXPECT_EQ(button.Height(), 33);
    EXPECT_EQ(button.ButtonColor(), clTeal);
    EXPECT_EQ(button.Direction(), widgets::arwUP);
    button.WMButtonDown(mbLeft, 0, 16, 20);  // before the first paint: ignored
    EXPECT_FALSE(button.Pressed());

    Arrow odd(static_cast<TButtonDirection>(7));
    EXPECT_FALSE(odd.button.HitRegion());
    EXPECT_EQ(testsupport::Grid(odd.surface, {{kBack, '.'}}), Grid(36, std::string(36, '.')));
}

// Pixels outside `inside` that are no longer the background.
int TouchedOutside(const TSurface& s, const TRect& inside) {
    int touched = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) touched += !inside.Contains({x, y}) && s.At(x, y) != kBack;
    return touched;
}

TEST(ArrowButtonGeometry, TinyButtonsDrawOnlyInside) {
    for (const int size : {0, 1, 2, 5, 7}) {
        for (const auto direction : {widgets::arwUP, widgets::arwRIGHT, widgets::arwLEFT, widgets::arwDOWN}) {
            TArrowButton button(nullptr);
            button.SetBounds(0, 0, size, size);
            button.SetDirection(direction);
            const int m = 4;
            TSurface surface(size + 2 * m, size + 2 * m, kBack);
            TCanvas canvas(surface);
            canvas.SetOrigin({m, m});
            canvas.IntersectClip(button.ClientRect());
            button.PaintTo(canvas);
            EXPECT_EQ(TouchedOutside(surface, {m, m, m + size, m + size}), 0) << size;
        }
    }
}

}  // namespace
