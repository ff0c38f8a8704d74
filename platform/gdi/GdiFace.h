// One GDI font as a face of the GUI layer's font engine. Glyphs are asked of
// GDI once and kept: coverage comes from GetGlyphOutlineW's 65-level
// greyscale bitmaps scaled to 0..255.
#pragma once

#include <map>
#include <memory>

#include "gfx/FontEngine.h"
#include "platform/gdi/GdiHandles.h"

namespace platform::gdi {

class GdiFace final : public gfx::TFontFace {
public:
    // `dc` is a memory DC shared by the engine's faces; each call selects
    // this face's font into it for its own duration.
    GdiFace(std::shared_ptr<MemoryDc> dc, const gfx::TFontSpec& spec);

    int Ascent() const override { return ascent_; }
    int Descent() const override { return descent_; }
    int UnderlinePosition() const override { return underlinePosition_; }
    int UnderlineThickness() const override { return underlineThickness_; }
    const gfx::TGlyph& Glyph(char32_t codepoint) override;
    bool HasGlyph(char32_t codepoint) override;

private:
    void ReadMetrics();
    gfx::TGlyph Render(wchar_t c) const;

    std::shared_ptr<MemoryDc> dc_;
    FontHandle font_;
    int ascent_ = 0;
    int descent_ = 0;
    int underlinePosition_ = 0;
    int underlineThickness_ = 1;
    wchar_t defaultChar_ = L'?';
    std::map<char32_t, gfx::TGlyph> glyphs_;
};

}  // namespace platform::gdi
