// TCanvas: draws into a TSurface following classic GDI raster rules exactly,
// so that every picture is the same on every backend.
//
// Pixel contract (every clause has a test in tests/unit):
// - Coordinates are canvas coordinates; the origin translates them to the
//   surface and everything is clipped to the clip rectangle and the surface.
// - LineTo(B) from the pen position A sets the pixels from A up to but not
//   including B: one pixel per step along the longer axis, the other
//   coordinate the nearest to the exact line, an exact half taking the
//   smaller coordinate. Reversing a line changes only which end is left out.
// - Rectangle(x1, y1, x2, y2): right and bottom exclusive; the pen outline
//   lies inside the figure, the brush fills the rest. 1 x 1 and zero width
//   draw nothing; one pixel wide or high draws a single pen line; 2 x 2 is
//   all pen. The corners may come in any order.
// - RoundRect: like Rectangle with corners cut by an ellipse of the given
//   size, cut down to the rectangle's size; a 2 x 2 ellipse gives square
//   corners; an ellipse of odd size n is drawn as n - 1. The corner outline
//   is the 8-connected run of pixels nearest the ellipse, the brush fills
//   inside it. Corner ellipses are limited to 32768 pixels.
// - Polygon: filled with the region rule of TRegion (alternate by default),
//   then outlined with LineTo segments around the closed path, so every
//   vertex is drawn.
// - FrameRgn(w, h): a region pixel is painted when the pixel w steps left or
//   right, or h steps up or down, is outside the region.
// - StretchBlt/StretchDraw: each destination pixel takes the source pixel
//   under its centre; a centre exactly on a border takes the earlier pixel.
//   Destination pixels whose source pixel lies outside the source surface
//   are left alone; empty rectangles draw nothing.
// - BitBlt may copy within one surface; overlapping copies act as a scroll.
// - Draw(icon): alpha 0 leaves the target, 255 replaces it, values between
//   blend each channel, rounded to nearest.
// - Brush style bsClear fills nothing; the pen is always solid, width 1.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "gfx/Font.h"
#include "gfx/FontEngine.h"
#include "gfx/Graphics.h"
#include "gfx/Region.h"
#include "gfx/Surface.h"
#include "gfx/SystemColors.h"
#include "gfx/Types.h"

namespace gfx {

enum TBrushStyle { bsSolid, bsClear };

struct TPen {
    TColor Color = clBlack;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

// Raster operations for bit-block copies (only source copy is used).
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
using TCopyMode = std::uint32_t;
constexpr TCopyMode cmSrcCopy = SRCCOPY;

class TCanvas {
public:
    // `fonts` may be null for a canvas that never draws text.
    explicit TCanvas(TSurface& target,
                     const TSystemColors& colors = ClassicSystemColors::Instance(),
                     TFontEngine* fonts = nullptr);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen Pen;
    TBrush Brush;
    TFont Font;
    TCopyMode CopyMode = cmSrcCopy;

    TSurface& Target() { return *target_; }
    const TSystemColors& Colors() const { return *colors_; }
    TFontEngine* Fonts() const { return fonts_; }
    TPixel Resolve(TColor c) const { return colors_->Resolve(c); }

    // Origin: canvas point (0, 0) lies at surface point Origin().
    TPoint Origin() const { return origin_; }
    void SetOrigin(TPoint p) { origin_ = p; }
    // Clip rectangle in canvas coordinates (always within the surface).
    // Coordinates beyond the int range (extreme origins) are clamped.
    TRect ClipRect() const;
    // Narrows the clip to `r` (canvas coordinates) intersected with the
    // current clip.
    void IntersectClip(const TRect& r);
    // Clip back to the whole surface.
    void ResetClip() { clip_ = target_->BoundsRect(); }

    // Saves pen, brush, font, copy mode, pen position, origin and clip; the
    // destructor restores them.
    class StateSaver {
    public:
        explicit StateSaver(TCanvas& c);
        ~StateSaver();
        StateSaver(const StateSaver&) = delete;
        StateSaver& operator=(const StateSaver&) = delete;

    private:
        TCanvas& canvas_;
        TPen pen_;
        TBrush brush_;
        TFont font_;
        TCopyMode copyMode_;
        TPoint penPos_;
        TPoint origin_;
        TRect clip_;
    };

    // Lines and shapes.
    TPoint PenPos() const { return penPos_; }
    void MoveTo(int x, int y) { penPos_ = {x, y}; }
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void FillRect(const TRect& r);  // with the brush, right/bottom exclusive
    void RoundRect(int x1, int y1, int x2, int y2, int ellipseWidth, int ellipseHeight);
    void Polygon(std::span<const TPoint> points, TPolyFillMode mode = ALTERNATE);
    void FillRegion(const TRegion& region, TColor color);
    void FrameRgn(const TRegion& region, TColor color, int width, int height);

    // Single pixels (SetPixel / GetPixel); outside the clip nothing happens
    // and GetPixel answers clBlack.
    void SetPixel(int x, int y, TColor color);
    TColor GetPixel(int x, int y) const;

    // Bit-block copy of `src` rectangle (source coordinates) to (x, y).
    void BitBlt(int x, int y, int width, int height, const TSurface& src, int srcX, int srcY);
    // Stretched copy of the source rectangle onto `dest`.
    void StretchBlt(const TRect& dest, const TSurface& src, const TRect& srcRect);
    void Draw(int x, int y, const TBitmap& bitmap);
    void StretchDraw(const TRect& dest, const TBitmap& bitmap);
    // DrawIcon: the icon at its own size, blended by its alpha mask.
    void Draw(int x, int y, const TIcon& icon);

    // Text (implemented in CanvasText.cpp). Text is UTF-8.
    void TextOut(int x, int y, std::string_view text);
    int TextWidth(std::string_view text);
    int TextHeight(std::string_view text);
    // DrawText / DrawTextEx with DT_* flags (TextLayout.h): lays out `text`
    // in `rect`; with DT_CALCRECT only measures and adjusts `rect`. Returns
    // the height of the text. The background is filled with the brush
    // unless the brush is clear.
    int DrawText(std::string_view text, TRect& rect, unsigned format);

    // The face for the current font (opened through the font engine).
    std::shared_ptr<TFontFace> Face();

private:
    friend class StateSaver;
    TSurface* target_;
    const TSystemColors* colors_;
    TFontEngine* fonts_;
    TPoint origin_{};
    TRect clip_;  // surface coordinates
    TPoint penPos_{};
    std::shared_ptr<TFontFace> face_;
    TFontSpec faceSpec_;
};

}  // namespace gfx
