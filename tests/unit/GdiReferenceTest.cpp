// Replays every picture of the GDI reference manifest with the canvas and
// compares every pixel, background included. One test per case of the
// manifest; each loops over that case's pictures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "gui/Canvas.h"
#include "platform/png/PngFile.h"
#include "tests/support/Json.h"
#include "tests/support/PixelDiff.h"

namespace {

using gui::TCanvas;
using gui::TPixel;
using gui::TSurface;
using testsupport::JsonValue;

const std::string kDir = std::string(SORIMO_TEST_DATA) + "/gdi-reference/";

// Manifest colours are RRGGBB, the same as our pixels.
TPixel PixelOf(const JsonValue& hex) { return TPixel(std::strtoul(hex.AsString().c_str(), nullptr, 16)); }
gui::TColor ColorOf(const JsonValue& hex) { return gui::ColorFromPixel(PixelOf(hex)); }

gui::TPolyFillMode ModeOf(const JsonValue& name) {
    return name.AsString() == "WINDING" ? gui::WINDING : gui::ALTERNATE;
}

std::vector<gui::TPoint> PointsOf(const JsonValue& list) {
    std::vector<gui::TPoint> points;
    for (const JsonValue& p : list.Items()) points.push_back({p.Items().at(0).AsInt(), p.Items().at(1).AsInt()});
    return points;
}

TSurface SourceBitmapOf(const JsonValue& picture) {
    const JsonValue& bitmap = picture["source_bitmap"];
    TSurface source(bitmap["width"].AsInt(), bitmap["height"].AsInt());
    int y = 0;
    for (const JsonValue& row : bitmap["rows_top_to_bottom"].Items()) {
        int x = 0;
        for (const JsonValue& pixel : row.Items()) source.Put(x++, y, PixelOf(pixel));
        ++y;
    }
    return source;
}

gui::TRect RectOf(const JsonValue& r) {
    return gui::Bounds(r["x"].AsInt(), r["y"].AsInt(), r["width"].AsInt(), r["height"].AsInt());
}

// The drawing state a replay carries between calls, as a device context does.
struct Replay {
    const JsonValue& picture;
    TSurface surface;
    TCanvas canvas{surface};
    gui::TPolyFillMode mode = gui::ALTERNATE;
    std::optional<gui::TRegion> region;

    explicit Replay(const JsonValue& p)
        : picture(p), surface(p["width"].AsInt(), p["height"].AsInt(), PixelOf(p["background"])) {}

    void Shapes(const std::string& fn, const JsonValue& c) {
        if (fn == "SelectObject" && c.Has("pen")) canvas.Pen.Color = ColorOf(c["pen"]["color"]);
        else if (fn == "SelectObject") canvas.Brush.Color = ColorOf(c["brush"]["color"]);
        else if (fn == "MoveToEx") canvas.MoveTo(c["x"].AsInt(), c["y"].AsInt());
        else if (fn == "LineTo") canvas.LineTo(c["x"].AsInt(), c["y"].AsInt());
        else if (fn == "Rectangle")
            canvas.Rectangle(c["left"].AsInt(), c["top"].AsInt(), c["right"].AsInt(), c["bottom"].AsInt());
        else if (fn == "RoundRect")
            canvas.RoundRect(c["left"].AsInt(), c["top"].AsInt(), c["right"].AsInt(), c["bottom"].AsInt(),
                             c["ellipse_width"].AsInt(), c["ellipse_height"].AsInt());
        else if (fn == "SetPolyFillMode") mode = ModeOf(c["mode"]);
        else if (fn == "Polygon") canvas.Polygon(PointsOf(c["points"]), mode);
        else Regions(fn, c);
    }

    void Regions(const std::string& fn, const JsonValue& c) {
        if (fn == "CreatePolygonRgn") {
            region = gui::TRegion::FromPolygon(PointsOf(c["points"]), ModeOf(c["mode"]));
        } else if (fn == "FrameRgn") {
            canvas.FrameRgn(region.value(), ColorOf(c["brush"]["color"]), c["width"].AsInt(), c["height"].AsInt());
        } else if (fn == "PtInRegion") {
            for (int y = 0; y < surface.Height(); ++y)
                for (int x = 0; x < surface.Width(); ++x)
                    if (region.value().Contains(x, y)) canvas.SetPixel(x, y, gui::clBlack);
        } else {
            Copies(fn, c);
        }
    }

    void Copies(const std::string& fn, const JsonValue& c) {
        if (fn == "StretchBlt") {
            canvas.StretchBlt(RectOf(c["dest"]), SourceBitmapOf(picture), RectOf(c["src"]));
        } else if (fn == "FillRect") {
            canvas.Brush.Color = ColorOf(c["brush"]["color"]);
            canvas.FillRect({c["left"].AsInt(), c["top"].AsInt(), c["right"].AsInt(), c["bottom"].AsInt()});
        } else if (fn == "SetPixel") {
            canvas.SetPixel(c["x"].AsInt(), c["y"].AsInt(), ColorOf(c["color"]));
        } else {
            ADD_FAILURE() << picture["file"].AsString() << ": no replay for " << fn;
        }
    }

    TSurface Run() {
        for (const JsonValue& call : picture["calls"].Items()) Shapes(call["fn"].AsString(), call);
        return surface;
    }
};

int ChangedPixels(const TSurface& s, TPixel background) {
    int count = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) count += s.At(x, y) != background ? 1 : 0;
    return count;
}

// Replays every picture of one case; returns how many there were.
int ReplayCase(int number) {
    const JsonValue manifest = JsonValue::ParseFile(kDir + "manifest.json");
    int pictures = 0;
    for (const JsonValue& picture : manifest["pictures"].Items()) {
        if (picture["case"].AsInt() != number) continue;
        ++pictures;
        const std::string file = picture["file"].AsString();
        const TSurface expected = platform::ReadPng(kDir + file);
        // Guards the loading: the picture must be the one the manifest describes.
        EXPECT_EQ(ChangedPixels(expected, PixelOf(picture["background"])), picture["changed_pixels"].AsInt()) << file;
        EXPECT_TRUE(testsupport::SamePixels(expected, Replay(picture).Run(), file.substr(0, file.size() - 4)));
    }
    return pictures;
}

TEST(GdiReference, LinesLeaveOutTheEndAndTakeTheNearestPixel) { EXPECT_EQ(ReplayCase(1), 6); }
TEST(GdiReference, RectanglesOutlineInsideIncludingTinySizes) { EXPECT_EQ(ReplayCase(2), 7); }
TEST(GdiReference, RoundRectCorners) { EXPECT_EQ(ReplayCase(3), 16); }
TEST(GdiReference, PolygonsFillThenOutline) { EXPECT_EQ(ReplayCase(4), 9); }
TEST(GdiReference, RegionFramesAndPointInRegionMasks) { EXPECT_EQ(ReplayCase(5), 12); }
TEST(GdiReference, StretchBltTakesThePixelUnderTheCentre) { EXPECT_EQ(ReplayCase(6), 5); }
TEST(GdiReference, FillRectAndSetPixel) { EXPECT_EQ(ReplayCase(7), 1); }

TEST(GdiReference, EveryPictureBelongsToAReplayedCase) {
    const JsonValue manifest = JsonValue::ParseFile(kDir + "manifest.json");
    int count = 0;
    for (const JsonValue& picture : manifest["pictures"].Items()) {
        EXPECT_GE(picture["case"].AsInt(), 1);
        EXPECT_LE(picture["case"].AsInt(), 7);
        ++count;
    }
    EXPECT_EQ(count, 56);
}

}  // namespace
