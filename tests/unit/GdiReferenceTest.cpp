// Replays every picture of the GDI reference manifest with the canvas and
// compares every pixel, background included, case by case.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "gfx/Canvas.h"
#include "platform/png/PngFile.h"
#include "tests/support/Json.h"
#include "tests/support/PixelDiff.h"

namespace {

using gfx::TCanvas;
using gfx::TPixel;
using gfx::TSurface;
using testsupport::JsonValue;

const std::string kDir = std::string(SORIMO_TEST_DATA) + "/gdi-reference/";

// Manifest colours are RRGGBB, the same as our pixels.
TPixel PixelOf(const JsonValue& hex) {
    return TPixel(std::strtoul(hex.AsString().c_str(), nullptr, 16));
}
gfx::TColor ColorOf(const JsonValue& hex) {
    return gfx::ColorFromPixel(PixelOf(hex));
}

gfx::TPolyFillMode ModeOf(const JsonValue& name) {
    return name.AsString() == "WINDING" ? gfx::WINDING : gfx::ALTERNATE;
}

std::vector<gfx::TPoint> PointsOf(const JsonValue& list) {
    std::vector<gfx::TPoint> points;
    for (const JsonValue& p : list.Items())
        points.push_back({p.Items().at(0).AsInt(), p.Items().at(1).AsInt()});
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

gfx::TRect RectOf(const JsonValue& r) {
    return gfx::Bounds(r["x"].AsInt(), r["y"].AsInt(), r["width"].AsInt(), r["height"].AsInt());
}

gfx::TRect EdgesOf(const JsonValue& c) {
    return {c["left"].AsInt(), c["top"].AsInt(), c["right"].AsInt(), c["bottom"].AsInt()};
}

// Replays one picture's calls on a canvas, carrying between calls the state a
// device context would (fill mode, the region made last).
class Replay {
public:
    explicit Replay(const JsonValue& p)
        : picture_(p),
          surface_(p["width"].AsInt(), p["height"].AsInt(), PixelOf(p["background"])) {}

    TSurface Run() {
        for (const JsonValue& call : picture_["calls"].Items()) {
            const auto handler = kHandlers.find(call["fn"].AsString());
            if (handler == kHandlers.end())
                ADD_FAILURE() << picture_["file"].AsString() << ": no replay for "
                              << call["fn"].AsString();
            else
                (this->*handler->second)(call);
        }
        return surface_;
    }

private:
    using Handler = void (Replay::*)(const JsonValue&);
    static const std::map<std::string, Handler> kHandlers;

    void SelectObject(const JsonValue& c) {
        if (c.Has("pen")) canvas_.Pen.Color = ColorOf(c["pen"]["color"]);
        if (c.Has("brush")) canvas_.Brush.Color = ColorOf(c["brush"]["color"]);
    }
    void MoveToEx(const JsonValue& c) { canvas_.MoveTo(c["x"].AsInt(), c["y"].AsInt()); }
    void LineTo(const JsonValue& c) { canvas_.LineTo(c["x"].AsInt(), c["y"].AsInt()); }
    void Rectangle(const JsonValue& c) { canvas_.Rectangle(EdgesOf(c)); }
    void RoundRect(const JsonValue& c) {
        const gfx::TRect r = EdgesOf(c);
        canvas_.RoundRect(r.Left, r.Top, r.Right, r.Bottom, c["ellipse_width"].AsInt(),
                          c["ellipse_height"].AsInt());
    }
    void SetPolyFillMode(const JsonValue& c) { mode_ = ModeOf(c["mode"]); }
    void Polygon(const JsonValue& c) { canvas_.Polygon(PointsOf(c["points"]), mode_); }
    void CreatePolygonRgn(const JsonValue& c) {
        region_ = gfx::TRegion::FromPolygon(PointsOf(c["points"]), ModeOf(c["mode"]));
    }
    void FrameRgn(const JsonValue& c) {
        canvas_.FrameRgn(region_.value(), ColorOf(c["brush"]["color"]), c["width"].AsInt(),
                         c["height"].AsInt());
    }
    // The mask: black wherever the point is in the region.
    void PtInRegion(const JsonValue&) {
        for (int y = 0; y < surface_.Height(); ++y)
            for (int x = 0; x < surface_.Width(); ++x)
                if (region_.value().Contains(x, y)) canvas_.SetPixel(x, y, gfx::clBlack);
    }
    void StretchBlt(const JsonValue& c) {
        canvas_.StretchBlt(RectOf(c["dest"]), SourceBitmapOf(picture_), RectOf(c["src"]));
    }
    void FillRect(const JsonValue& c) {
        canvas_.Brush.Color = ColorOf(c["brush"]["color"]);
        canvas_.FillRect(EdgesOf(c));
    }
    void SetPixel(const JsonValue& c) {
        canvas_.SetPixel(c["x"].AsInt(), c["y"].AsInt(), ColorOf(c["color"]));
    }

    const JsonValue& picture_;
    TSurface surface_;
    TCanvas canvas_{surface_};
    gfx::TPolyFillMode mode_ = gfx::ALTERNATE;
    std::optional<gfx::TRegion> region_;
};

const std::map<std::string, Replay::Handler> Replay::kHandlers = {
    {"SelectObject", &Replay::SelectObject},
    {"MoveToEx", &Replay::MoveToEx},
    {"LineTo", &Replay::LineTo},
    {"Rectangle", &Replay::Rectangle},
    {"RoundRect", &Replay::RoundRect},
    {"SetPolyFillMode", &Replay::SetPolyFillMode},
    {"Polygon", &Replay::Polygon},
    {"CreatePolygonRgn", &Replay::CreatePolygonRgn},
    {"FrameRgn", &Replay::FrameRgn},
    {"PtInRegion", &Replay::PtInRegion},
    {"StretchBlt", &Replay::StretchBlt},
    {"FillRect", &Replay::FillRect},
    {"SetPixel", &Replay::SetPixel},
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
        EXPECT_EQ(ChangedPixels(expected, PixelOf(picture["background"])),
                  picture["changed_pixels"].AsInt())
            << file;
        EXPECT_TRUE(testsupport::SamePixels(expected, Replay(picture).Run(),
                                            file.substr(0, file.size() - 4)));
    }
    return pictures;
}

// Each case of the manifest, with the rule its pictures pin and how many
// pictures it has.
TEST(GdiReference, EveryCaseReplaysPixelForPixel) {
    const struct {
        int number;
        const char* rule;
        int pictures;
    } cases[] = {
        {1, "lines leave out the end and take the nearest pixel", 6},
        {2, "rectangles outline inside, tiny sizes included", 7},
        {3, "round-rect corners", 16},
        {4, "polygons fill, then outline", 9},
        {5, "region frames and point-in-region masks", 12},
        {6, "stretched copies take the pixel under the centre", 5},
        {7, "rectangle fills and single pixels", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        EXPECT_EQ(ReplayCase(c.number), c.pictures);
    }
}

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
