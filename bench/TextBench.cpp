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
    std::unique_ptr<gui::TFontEngine> engine = platform::CreateFreeTypeFontEngine();
    gui::TSurface surface{420, 20, 0xFFFFFF};
    gui::TCanvas canvas{surface, gui::ClassicSystemColors::Instance(), engine.get()};
    gui::TRect rect{0, 0, 420, 20};

    TextScene() {
        canvas.Font.SetName("ＭＳ Ｐゴシック");
        canvas.Font.SetHeight(-12);
        gui::TRect warm = rect;
        canvas.DrawText(kLine, warm, gui::DT_LEFT | gui::DT_SINGLELINE);
    }
};

void BM_DrawTextJapanese30(benchmark::State& state) {
    TextScene scene;
    for (auto _ : state) {
        gui::TRect r = scene.rect;
        benchmark::DoNotOptimize(scene.canvas.DrawText(kLine, r, gui::DT_LEFT | gui::DT_SINGLELINE | gui::DT_VCENTER));
    }
    state.SetItemsProcessed(state.iterations() * 30);
}
BENCHMARK(BM_DrawTextJapanese30);

void BM_LayoutJapanese30(benchmark::State& state) {
    TextScene scene;
    const auto face = scene.canvas.Face();
    for (auto _ : state) {
        benchmark::DoNotOptimize(gui::LayoutText(*face, kLine, scene.rect, gui::DT_LEFT | gui::DT_SINGLELINE));
    }
    state.SetItemsProcessed(state.iterations() * 30);
}
BENCHMARK(BM_LayoutJapanese30);

}  // namespace
