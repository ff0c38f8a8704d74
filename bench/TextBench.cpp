// Text on the canvas with the FreeType engine: a 30-character Japanese line
// in the launcher's font, glyphs already cached (the steady state of a
// repaint). Layout alone and a full DrawText are measured apart, so a
// regression shows in the half that caused it.
#include <benchmark/benchmark.h>

#include "gfx/Canvas.h"
#include "gfx/TextLayout.h"
#include "platform/freetype/FreeTypeFontEngine.h"

namespace {

constexpr const char* kLine = "ソリモは小さなランチャーです。よく使うファイルを一発で開く";  // 30 characters

struct TextScene {
    std::unique_ptr<gfx::TFontEngine> engine = platform::CreateFreeTypeFontEngine();
    gfx::TSurface surface{420, 20, 0xFFFFFF};
    gfx::TCanvas canvas{surface, gfx::ClassicSystemColors::Instance(), engine.get()};
    gfx::TRect rect{0, 0, 420, 20};

    TextScene() {
        canvas.Font.SetName("ＭＳ Ｐゴシック");
        canvas.Font.SetHeight(-12);
        gfx::TRect warm = rect;
        canvas.DrawText(kLine, warm, gfx::DT_LEFT | gfx::DT_SINGLELINE);
    }
};

void BM_DrawTextJapanese30(benchmark::State& state) {
    TextScene scene;
    for (auto _ : state) {
        gfx::TRect r = scene.rect;
        benchmark::DoNotOptimize(scene.canvas.DrawText(kLine, r, gfx::DT_LEFT | gfx::DT_SINGLELINE | gfx::DT_VCENTER));
    }
    state.SetItemsProcessed(state.iterations() * 30);
}
BENCHMARK(BM_DrawTextJapanese30);

void BM_LayoutJapanese30(benchmark::State& state) {
    TextScene scene;
    const auto face = scene.canvas.Face();
    for (auto _ : state) {
        benchmark::DoNotOptimize(gfx::LayoutText(*face, kLine, scene.rect, gfx::DT_LEFT | gfx::DT_SINGLELINE));
    }
    state.SetItemsProcessed(state.iterations() * 30);
}
BENCHMARK(BM_LayoutJapanese30);

}  // namespace
