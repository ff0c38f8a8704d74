// Basic value types shared by the whole GUI layer: colours, points,
// rectangles, mouse buttons and shift states.
#pragma once

#include <cstdint>
#include <limits>

namespace gfx {

// A colour: 0x00BBGGRR for a fixed colour, or 0x80000000 + index for a
// system colour that is resolved to its current value when drawn. A type of
// its own, so that a pixel (TPixel, another byte order) passed for a colour,
// or a colour for a pixel, does not compile: TColor{0x00BBGGRR} makes one,
// ColorValue reads its number, PixelFromColor/ColorFromPixel convert.
enum class TColor : std::uint32_t {};

constexpr std::uint32_t ColorValue(TColor c) { return static_cast<std::uint32_t>(c); }

constexpr TColor clBlack{0x000000};
constexpr TColor clMaroon{0x000080};
constexpr TColor clGreen{0x008000};
constexpr TColor clOlive{0x008080};
constexpr TColor clNavy{0x800000};
constexpr TColor clPurple{0x800080};
constexpr TColor clTeal{0x808000};
constexpr TColor clGray{0x808080};
constexpr TColor clSilver{0xC0C0C0};
constexpr TColor clRed{0x0000FF};
constexpr TColor clLime{0x00FF00};
constexpr TColor clYellow{0x00FFFF};
constexpr TColor clBlue{0xFF0000};
constexpr TColor clFuchsia{0xFF00FF};
constexpr TColor clAqua{0xFFFF00};
constexpr TColor clWhite{0xFFFFFF};

constexpr std::uint32_t kSystemColorFlag = 0x80000000u;
constexpr TColor SystemColorOf(int index) { return TColor{kSystemColorFlag + std::uint32_t(index)}; }
constexpr TColor clWindow = SystemColorOf(5);
constexpr TColor clWindowText = SystemColorOf(8);
constexpr TColor clBtnFace = SystemColorOf(15);
constexpr TColor clBtnShadow = SystemColorOf(16);
constexpr TColor clGrayText = SystemColorOf(17);
constexpr TColor clBtnText = SystemColorOf(18);
constexpr TColor clBtnHighlight = SystemColorOf(20);
constexpr TColor clInfoText = SystemColorOf(23);
constexpr TColor clInfoBk = SystemColorOf(24);

constexpr bool IsSystemColor(TColor c) { return (ColorValue(c) & kSystemColorFlag) != 0; }
// The index of a system colour.
constexpr int SystemColorIndex(TColor c) { return int(ColorValue(c) & 0xFF); }

// A pixel of a surface: 0x00RRGGBB (red in bits 16..23), the memory order of
// 32-bit X11 images and Windows DIBs on little-endian machines.
using TPixel = std::uint32_t;

constexpr TPixel PixelFromRgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return (TPixel(r) << 16) | (TPixel(g) << 8) | TPixel(b);
}
// Converts a fixed colour (0x00BBGGRR) to a pixel; system colours must be
// resolved first.
constexpr TPixel PixelFromColor(TColor c) {
    const std::uint32_t v = ColorValue(c);
    return PixelFromRgb(std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16));
}
constexpr TColor ColorFromPixel(TPixel p) {
    return TColor{((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16)};
}

// Coordinate arithmetic that cannot overflow: a result beyond the range of
// int is pinned to its nearer end. Stored window positions may be any int,
// and screen coordinates are multiplied by the screen scale, so sums and
// products of coordinates must be defined for every value.
constexpr int ClampToInt(std::int64_t v) {
    return v > std::numeric_limits<int>::max()   ? std::numeric_limits<int>::max()
           : v < std::numeric_limits<int>::min() ? std::numeric_limits<int>::min()
                                                 : int(v);
}
constexpr int SaturatingAdd(int a, int b) { return ClampToInt(std::int64_t(a) + b); }
constexpr int SaturatingMul(int a, int b) { return ClampToInt(std::int64_t(a) * b); }

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// A rectangle with Right and Bottom exclusive. Width, Height and Offset
// saturate instead of overflowing.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return ClampToInt(std::int64_t(Right) - Left); }
    constexpr int Height() const { return ClampToInt(std::int64_t(Bottom) - Top); }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool Contains(TPoint p) const {
        return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
    }
    constexpr TRect Offset(int dx, int dy) const {
        return {SaturatingAdd(Left, dx), SaturatingAdd(Top, dy), SaturatingAdd(Right, dx),
                SaturatingAdd(Bottom, dy)};
    }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// Where a span of `length` that starts at `start` may start so that its far
// end is an int: `start` itself, or moved back just far enough.
constexpr int SpanStart(int start, int length) {
    const std::int64_t end = std::int64_t(start) + length;
    return int(std::int64_t(start) - (end - ClampToInt(end)));
}

// The rectangle of the given size at (left, top). The size is kept: where
// the far edge would lie beyond the range of int, the rectangle is moved
// back just inside it (a position that far out is off every screen anyway).
constexpr TRect Bounds(int left, int top, int width, int height) {
    left = SpanStart(left, width);
    top = SpanStart(top, height);
    return {left, top, left + width, top + height};
}

// Every edge multiplied by `scale` (logical to screen pixels), pinned to
// the range of int.
constexpr TRect ScaleRect(const TRect& r, int scale) {
    return {SaturatingMul(r.Left, scale), SaturatingMul(r.Top, scale),
            SaturatingMul(r.Right, scale), SaturatingMul(r.Bottom, scale)};
}

// Intersection; empty rectangles come out as {0,0,0,0}.
TRect Intersect(const TRect& a, const TRect& b);
// Smallest rectangle holding both; an empty operand is ignored.
TRect Union(const TRect& a, const TRect& b);

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Shift state flags (a bit set).
using TShiftState = std::uint32_t;
constexpr TShiftState ssShift = 1u << 0;
constexpr TShiftState ssAlt = 1u << 1;
constexpr TShiftState ssCtrl = 1u << 2;
constexpr TShiftState ssLeft = 1u << 3;
constexpr TShiftState ssRight = 1u << 4;
constexpr TShiftState ssMiddle = 1u << 5;
constexpr TShiftState ssDouble = 1u << 6;

constexpr TShiftState ShiftFlagOf(TMouseButton b) {
    return b == mbLeft ? ssLeft : b == mbRight ? ssRight : ssMiddle;
}

}  // namespace gfx
