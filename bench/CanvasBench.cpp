// Raster half of the canvas. The main figure is a full repaint of a
// launcher-sized window (264 x 104): eight 36 x 36 cell faces copied from
// a strip, eight 32 x 32 icons blended over them, the two arrow buttons
// (triangles made as regions and framed 2 x 2, plus their polygons), a
// blotter of one-pixel lines and a few rectangles. Target: well under 50 us
// in a Release build.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "gfx/Canvas.h"

namespace {

using namespace gfx;

TBitmap CellStrip() {
    TBitmap strip(36, 72);
    for (int y = 0; y < 72; ++y)
        for (int x = 0; x < 36; ++x)
            strip.Surface().Set(x, y, x == 0 || y == 0 ? 0xFFFFFF : 0xC0C0C0);
    return strip;
}

// A round icon with a soft edge: transparent corners, opaque middle and a
// ring of partial alpha, like a real 32 x 32 application icon.
TIcon RoundIcon(TPixel colour) {
    std::vector<std::uint8_t> alpha(32 * 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int d = (2 * x - 31) * (2 * x - 31) + (2 * y - 31) * (2 * y - 31);
            alpha[std::size_t(y * 32 + x)] = d < 800 ? 255 : d < 1000 ? 128 : 0;
        }
    }
    return TIcon(TSurface(32, 32, colour), std::move(alpha));
}

struct LauncherScene {
    TSurface surface{264, 104, 0xC0C0C0};
    TCanvas canvas{surface};
    TBitmap strip = CellStrip();
    std::vector<TIcon> icons;
    const std::vector<TPoint> up = {{236, 8}, {252, 24}, {220, 24}};
    const std::vector<TPoint> down = {{220, 80}, {252, 80}, {236, 96}};

    LauncherScene() {
        for (int i = 0; i < 8; ++i)
            icons.push_back(RoundIcon(PixelFromRgb(std::uint8_t(30 * i), 90, 200)));
    }

    void Blotter() {
        canvas.Pen.Color = clBtnShadow;
        for (int i = 0; i < 24; ++i) {
            canvas.MoveTo(4, 4 + 4 * i);
            canvas.LineTo(200, 4 + 4 * i);
        }
        canvas.Pen.Color = clBtnHighlight;
        for (int i = 0; i < 24; ++i) {
            canvas.MoveTo(4 + 8 * i, 2);
            canvas.LineTo(4 + 8 * i, 100);
        }
        canvas.Pen.Color = clBlack;
        for (int i = 0; i < 12; ++i) {
            canvas.MoveTo(204, 4 + 8 * i);
            canvas.LineTo(262, 10 + 7 * i);
        }
        canvas.Brush.Color = clBtnFace;
        canvas.Rectangle(202, 0, 264, 104);
        canvas.Rectangle(210, 30, 262, 74);
        canvas.Rectangle(0, 0, 4, 104);
    }

    void Cells() {
        for (int i = 0; i < 8; ++i) {
            const int x = 4 + 40 * (i % 4) + (i / 4) * 20, y = 8 + 48 * (i / 4);
            canvas.BitBlt(x, y, 36, 36, strip.Surface(), 0, 0);
            canvas.Draw(x + 2, y + 2, icons[std::size_t(i)]);
        }
    }

    void Arrows() {
        canvas.Brush.Color = clBtnFace;
        canvas.Pen.Color = clBlack;
        for (const auto* triangle : {&up, &down}) {
            canvas.Polygon(*triangle);
            canvas.FrameRgn(TRegion::FromPolygon(*triangle), clBtnShadow, 2, 2);
        }
    }

    void Repaint() {
        Blotter();
        Cells();
        Arrows();
    }
};

void BM_LauncherRepaint264x104(benchmark::State& state) {
    LauncherScene scene;
    for (auto _ : state) {
        scene.Repaint();
        benchmark::DoNotOptimize(scene.surface.Data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_LauncherRepaint264x104)->Unit(benchmark::kMicrosecond);

void BM_RoundRect79x27(benchmark::State& state) {
    TSurface surface(81, 29, 0xC0C0C0);
    TCanvas canvas(surface);
    for (auto _ : state) {
        canvas.RoundRect(1, 1, 80, 28, 20, 20);
        benchmark::DoNotOptimize(surface.Data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RoundRect79x27)->Unit(benchmark::kMicrosecond);

// A line from -2^30 to 2^30 costs only its visible part.
void BM_HugeLineClipped(benchmark::State& state) {
    TSurface surface(264, 104, 0xC0C0C0);
    TCanvas canvas(surface);
    for (auto _ : state) {
        canvas.MoveTo(-(1 << 30), -(1 << 29));
        canvas.LineTo(1 << 30, 1 << 29);
        benchmark::DoNotOptimize(surface.Data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_HugeLineClipped)->Unit(benchmark::kMicrosecond);

}  // namespace
