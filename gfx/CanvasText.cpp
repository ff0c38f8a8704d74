// The text half of TCanvas: TextOut, DrawText and measuring. The layout is
// TextLayout's; this file only paints it: the opaque background of each
// line's cell, the glyphs blended by their coverage in the font colour, and
// the underlines.
//
// Positions are carried in 64 bits until they are cut to the clip, as in
// the raster half: canvas coordinates plus the origin may leave int range.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "gfx/Canvas.h"
#include "gfx/TextLayout.h"

namespace gfx {
namespace {

using i64 = std::int64_t;

TPixel Blend(TPixel over, TPixel under, unsigned alpha) {
    TPixel out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned s = (over >> shift) & 0xFF, d = (under >> shift) & 0xFF;
        out |= TPixel((s * alpha + d * (255 - alpha) + 127) / 255) << shift;
    }
    return out;
}

// The pixels one text call may touch: the surface cut to a clip rectangle
// (surface coordinates); takes canvas coordinates.
class TextTarget {
public:
    TextTarget(TSurface& surface, TRect clip, TPoint origin)
        : surface_(surface), clip_(Intersect(clip, surface.BoundsRect())), origin_(origin) {}

    // Narrows the clip to a rectangle given in canvas coordinates.
    void Narrow(const TRect& r) {
        const i64 left = std::max<i64>(i64(r.Left) + origin_.X, clip_.Left);
        const i64 top = std::max<i64>(i64(r.Top) + origin_.Y, clip_.Top);
        const i64 right = std::min<i64>(i64(r.Right) + origin_.X, clip_.Right);
        const i64 bottom = std::min<i64>(i64(r.Bottom) + origin_.Y, clip_.Bottom);
        clip_ = left < right && top < bottom ? TRect{int(left), int(top), int(right), int(bottom)} : TRect{};
    }

    void Fill(i64 left, i64 top, i64 right, i64 bottom, TPixel p) {
        const i64 l = std::max<i64>(left + origin_.X, clip_.Left), r = std::min<i64>(right + origin_.X, clip_.Right);
        const i64 t = std::max<i64>(top + origin_.Y, clip_.Top), b = std::min<i64>(bottom + origin_.Y, clip_.Bottom);
        for (i64 y = t; y < b && l < r; ++y) std::fill(surface_.Row(int(y)) + l, surface_.Row(int(y)) + r, p);
    }

    // The glyph with its pen at (penX, baseline).
    void Glyph(const TGlyph& g, i64 penX, i64 baseline, TPixel colour) {
        const i64 left = penX + origin_.X + g.Left, top = baseline + origin_.Y - g.Top;
        const i64 x0 = std::max<i64>(left, clip_.Left), x1 = std::min<i64>(left + g.Width, clip_.Right);
        const i64 y0 = std::max<i64>(top, clip_.Top), y1 = std::min<i64>(top + g.Height, clip_.Bottom);
        for (i64 y = y0; y < y1 && x0 < x1; ++y) {
            TPixel* row = surface_.Row(int(y));
            const std::uint8_t* coverage = g.Coverage.data() + (y - top) * g.Width;
            for (i64 x = x0; x < x1; ++x) {
                const unsigned a = coverage[x - left];
                if (a != 0) row[x] = a == 255 ? colour : Blend(colour, row[x], a);
            }
        }
    }

private:
    TSurface& surface_;
    TRect clip_;
    TPoint origin_;
};

struct LineStyle {
    TPixel Colour;
    bool Underline;
    bool StrikeOut;
};

// One laid-out line with its cell's top-left at (x, y).
void PaintLine(TextTarget& out, TFontFace& face, const TLayoutLine& line, i64 x, i64 y, LineStyle style) {
    const i64 baseline = y + face.Ascent();
    for (std::size_t i = 0; i < line.Text.size(); ++i) {
        if (line.Text[i] >= 0x20) out.Glyph(face.Glyph(line.Text[i]), x + line.PenX[i], baseline, style.Colour);
    }
    const i64 under = baseline + face.UnderlinePosition(), thick = face.UnderlineThickness();
    if (style.Underline) out.Fill(x, under, x + line.Width, under + thick, style.Colour);
    if (line.Underline >= 0) {
        out.Fill(x + line.PenX[line.Underline], under, x + line.PenX[line.Underline + 1], under + thick, style.Colour);
    }
    // Faces carry no strike-out metric; a third of the ascent runs through
    // the middle of lowercase letters.
    const i64 strike = baseline - face.Ascent() / 3;
    if (style.StrikeOut) out.Fill(x, strike, x + line.Width, strike + thick, style.Colour);
}

// Text as TextOut sees it: one line, no prefixes, no tab stops.
constexpr unsigned kPlainLine = DT_SINGLELINE | DT_NOPREFIX | DT_LEFT;

}  // namespace

std::shared_ptr<TFontFace> TCanvas::Face() {
    if (!fonts_) throw std::logic_error("TCanvas: text drawn on a canvas that has no font engine");
    const TFontSpec spec = Font.Spec();
    if (!face_ || !(spec == faceSpec_)) {
        face_ = fonts_->Open(spec);
        faceSpec_ = spec;
    }
    return face_;
}

int TCanvas::TextWidth(std::string_view text) { return LayoutText(*Face(), text, {}, kPlainLine).Bounds.Width(); }

int TCanvas::TextHeight(std::string_view) { return Face()->CellHeight(); }

void TCanvas::TextOut(int x, int y, std::string_view text) {
    const std::shared_ptr<TFontFace> face = Face();
    const TTextLayout layout = LayoutText(*face, text, {x, y, x, y}, kPlainLine);
    TextTarget out(*target_, clip_, origin_);
    const TFontStyles styles = Font.Style();
    const LineStyle style{Resolve(Font.Color()), (styles & fsUnderline) != 0, (styles & fsStrikeOut) != 0};
    const int width = layout.Bounds.Width();
    if (Brush.Style == bsSolid) out.Fill(x, y, i64(x) + width, i64(y) + face->CellHeight(), Resolve(Brush.Color));
    for (const TLayoutLine& line : layout.Lines) PaintLine(out, *face, line, x, y, style);
    // Like the classic canvas, the pen moves to the end of the text.
    penPos_ = {int(std::min<i64>(i64(x) + width, std::numeric_limits<int>::max())), y};
}

int TCanvas::DrawText(std::string_view text, TRect& rect, unsigned format) {
    const std::shared_ptr<TFontFace> face = Face();
    const TTextLayout layout = LayoutText(*face, text, rect, format);
    if (format & DT_CALCRECT) {
        rect = layout.Bounds;
        return layout.Height;
    }
    TextTarget out(*target_, clip_, origin_);
    if (!(format & DT_NOCLIP)) out.Narrow(rect);
    const TFontStyles styles = Font.Style();
    const LineStyle style{Resolve(Font.Color()), (styles & fsUnderline) != 0, (styles & fsStrikeOut) != 0};
    const TPixel background = Resolve(Brush.Color);
    for (const TLayoutLine& line : layout.Lines) {
        const i64 x = i64(rect.Left) + line.X, y = i64(rect.Top) + line.Y;
        if (Brush.Style == bsSolid) out.Fill(x, y, x + line.Width, y + face->CellHeight(), background);
        PaintLine(out, *face, line, x, y, style);
    }
    return layout.Height;
}

}  // namespace gfx
