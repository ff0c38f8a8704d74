// The font engine seam: the platform gives glyph coverage and metrics; all
// text layout is the GUI layer's own (see TextLayout.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace gfx {

// What a TFont asks of the engine. Height < 0: character height in pixels
// (em size); Height > 0: cell height (ascent + descent); 0: the default.
struct TFontSpec {
    std::string Name;
    int Height = 0;
    bool Bold = false;
    bool Italic = false;
    int Charset = 1;  // DEFAULT_CHARSET; 128 is SHIFTJIS_CHARSET
    friend bool operator==(const TFontSpec&, const TFontSpec&) = default;
};

// One glyph's 8-bit coverage (0 = none, 255 = full), placed relative to the
// pen position on the baseline: its top-left pixel is at
// (pen.x + Left, baseline - Top).
struct TGlyph {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int Advance = 0;  // pen advance in whole pixels
    std::vector<std::uint8_t> Coverage;  // Width * Height, row-major
};

class TFontFace {
public:
    virtual ~TFontFace() = default;
    virtual int Ascent() const = 0;   // pixels above the baseline
    virtual int Descent() const = 0;  // pixels below the baseline
    int CellHeight() const { return Ascent() + Descent(); }
    virtual int UnderlinePosition() const = 0;   // rows below the baseline
    virtual int UnderlineThickness() const = 0;  // at least 1
    // The glyph of a code point; never null (a missing glyph gives the
    // face's fallback glyph). The reference stays valid while the face lives.
    virtual const TGlyph& Glyph(char32_t codepoint) = 0;
    // True when the face (with its fallbacks) has a real glyph for it.
    virtual bool HasGlyph(char32_t codepoint) = 0;
};

class TFontEngine {
public:
    virtual ~TFontEngine() = default;
    // Never null: a name that matches nothing falls back to a
    // Japanese-capable face. Faces are cached by spec.
    virtual std::shared_ptr<TFontFace> Open(const TFontSpec& spec) = 0;
};

}  // namespace gfx
