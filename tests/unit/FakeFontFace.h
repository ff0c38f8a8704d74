// A deterministic font face for layout and canvas tests: every glyph
// advances 6 pixels and is a solid 4 x 7 box standing on the baseline one
// pixel right of the pen; a blank has no pixels and '*' is a single pixel
// of half coverage just above the baseline. Ascent 8, descent 2, the
// underline is the first row below the baseline.
#pragma once

#include <map>
#include <memory>

#include "gfx/FontEngine.h"

namespace gfx::testing {

class FakeFontFace : public TFontFace {
public:
    static constexpr int kAdvance = 6;

    int Ascent() const override { return 8; }
    int Descent() const override { return 2; }
    int UnderlinePosition() const override { return 0; }
    int UnderlineThickness() const override { return 1; }

    const TGlyph& Glyph(char32_t c) override {
        auto [it, added] = glyphs_.try_emplace(c);
        if (added) it->second = Make(c);
        return it->second;
    }
    bool HasGlyph(char32_t) override { return true; }

private:
    static TGlyph Make(char32_t c) {
        if (c == U' ') return {0, 0, 0, 0, kAdvance, {}};
        if (c == U'*') return {1, 1, 1, 1, kAdvance, {128}};
        return {1, 7, 4, 7, kAdvance, std::vector<std::uint8_t>(4 * 7, 255)};
    }
    std::map<char32_t, TGlyph> glyphs_;
};

// Hands out one FakeFontFace for every spec and counts the requests.
class FakeFontEngine : public TFontEngine {
public:
    std::shared_ptr<TFontFace> Open(const TFontSpec&) override {
        ++Opens;
        return face_;
    }
    int Opens = 0;

private:
    std::shared_ptr<FakeFontFace> face_ = std::make_shared<FakeFontFace>();
};

}  // namespace gfx::testing
