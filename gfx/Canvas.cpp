// The raster half of TCanvas: lines, shapes, regions, single pixels and
// copies (the text half is CanvasText.cpp).
//
// Every primitive works the same way: map canvas coordinates to the surface
// in 64 bits (canvas coordinates plus the origin may leave the int range),
// cut the work to the clip rectangle, and only then touch pixels. Work is
// bounded by the clipped area, never by the size the caller asked for, so a
// line from -2^30 to 2^30 costs as much as the part that can be seen.
#include "gfx/Canvas.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace gfx {

namespace {

using i64 = std::int64_t;
using u64 = std::uint64_t;

constexpr i64 Abs(i64 v) {
    return v < 0 ? -v : v;
}

// The target of one drawing call: the surface cut to the clip rectangle,
// in surface coordinates.
class Raster {
public:
    Raster(TSurface& surface, const TRect& clip)
        : surface_(surface), clip_(Intersect(clip, surface.BoundsRect())) {}

    const TRect& Clip() const { return clip_; }
    bool Inside(i64 x, i64 y) const {
        return x >= clip_.Left && x < clip_.Right && y >= clip_.Top && y < clip_.Bottom;
    }
    void Plot(i64 x, i64 y, TPixel p) {
        if (Inside(x, y)) surface_.Set(int(x), int(y), p);
    }
    // Fills [left, right) x [top, bottom), clipped.
    void Fill(i64 left, i64 top, i64 right, i64 bottom, TPixel p) {
        left = std::max<i64>(left, clip_.Left);
        right = std::min<i64>(right, clip_.Right);
        top = std::max<i64>(top, clip_.Top);
        bottom = std::min<i64>(bottom, clip_.Bottom);
        if (left >= right || top >= bottom) return;
        TPixel* row = surface_.Row(int(top)) + left;
        for (i64 y = top; y < bottom; ++y, row += surface_.Width())
            std::fill(row, row + (right - left), p);
    }
    void Row(i64 y, i64 left, i64 right, TPixel p) { Fill(left, y, right, y + 1, p); }

private:
    TSurface& surface_;
    TRect clip_;
};

// Quotient and remainder of a * b / d for any 64-bit a and b and
// 0 < d < 2^63, provided the quotient fits in 64 bits. The product is formed
// in 128 bits from 32-bit halves; only the starting point of a long stretch
// needs this, the steps after it are additions.
struct QuotRem {
    u64 Quot;
    u64 Rem;
};

QuotRem MulDiv(u64 a, u64 b, u64 d) {
    constexpr u64 kLow = 0xFFFFFFFFu;
    if (a <= kLow && b <= kLow) return {a * b / d, a * b % d};
    const u64 p00 = (a & kLow) * (b & kLow), p01 = (a & kLow) * (b >> 32);
    const u64 p10 = (a >> 32) * (b & kLow), p11 = (a >> 32) * (b >> 32);
    const u64 mid = (p00 >> 32) + (p01 & kLow) + (p10 & kLow);
    const u64 lo = (mid << 32) | (p00 & kLow);
    const u64 hi = p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32);
    u64 quot = 0, rem = 0;
    for (int bit = 127; bit >= 0; --bit) {
        const u64 in = bit >= 64 ? (hi >> (bit - 64)) & 1 : (lo >> bit) & 1;
        rem = (rem << 1) | in;  // rem < d < 2^63, so nothing is shifted out
        quot <<= 1;
        if (rem >= d) {
            rem -= d;
            quot |= 1;
        }
    }
    return {quot, rem};
}

// The exact value i * delta / n (|delta| <= n) as Whole + Rest / n with
// 0 <= Rest < n, advanced one i at a time.
class LinePosition {
public:
    LinePosition(i64 i, i64 delta, i64 n) : delta_(delta), n_(n) {
        const QuotRem qr = MulDiv(u64(i), u64(Abs(delta)), u64(n));
        whole_ = i64(qr.Quot);
        rest_ = i64(qr.Rem);
        if (delta < 0 && rest_ != 0) {
            whole_ = -whole_ - 1;
            rest_ = n - rest_;
        } else if (delta < 0) {
            whole_ = -whole_;
        }
    }
    // The nearest integer; an exact half gives the smaller one.
    i64 Nearest() const { return whole_ + (2 * rest_ > n_ ? 1 : 0); }
    void Next() {
        rest_ += delta_;
        if (rest_ >= n_) {
            rest_ -= n_;
            ++whole_;
        } else if (rest_ < 0) {
            rest_ += n_;
            --whole_;
        }
    }

private:
    i64 delta_;
    i64 n_;
    i64 whole_ = 0;
    i64 rest_ = 0;
};

// Steps from major coordinate m0 towards m1 (m1 left out), one pixel per
// step; the minor coordinate moves by `delta` over the whole line. Only the
// steps whose major coordinate lies in [lo, hi) are taken.
template <class Plot>
void StepLine(i64 m0, i64 m1, i64 k0, i64 delta, i64 lo, i64 hi, Plot plot) {
    const i64 n = Abs(m1 - m0);
    const int dir = m1 > m0 ? 1 : -1;
    const i64 first = std::max<i64>(0, dir > 0 ? lo - m0 : m0 - hi + 1);
    const i64 last = std::min<i64>(n, dir > 0 ? hi - m0 : m0 - lo + 1);
    if (first >= last) return;
    LinePosition minor(first, delta, n);
    for (i64 i = first; i < last; ++i, minor.Next()) plot(m0 + dir * i, k0 + minor.Nearest());
}

void DrawLine(Raster& out, i64 x0, i64 y0, i64 x1, i64 y1, TPixel p) {
    const i64 dx = x1 - x0, dy = y1 - y0;
    if (dy == 0) {  // the common horizontal line as one run
        out.Row(y0, dx > 0 ? x0 : x1 + 1, dx > 0 ? x1 : x0 + 1, p);
    } else if (dx == 0) {
        out.Fill(x0, dy > 0 ? y0 : y1 + 1, x0 + 1, dy > 0 ? y1 : y0 + 1, p);
    } else if (Abs(dx) >= Abs(dy)) {
        StepLine(x0, x1, y0, dy, out.Clip().Left, out.Clip().Right,
                 [&](i64 x, i64 y) { out.Plot(x, y, p); });
    } else {
        StepLine(y0, y1, x0, dx, out.Clip().Top, out.Clip().Bottom,
                 [&](i64 y, i64 x) { out.Plot(x, y, p); });
    }
}

// One row of a round rectangle's corner: the first and last outline pixel,
// counted inwards from the rectangle's side.
struct CornerRow {
    int First;
    int Last;
};

// Corner ellipses are limited so that the corner walk stays exact in 64 bits
// (and short); no real window comes near this.
constexpr int kMaxCornerRadius = 1 << 14;

// The outline of a quarter of a 2rx x 2ry ellipse, one entry per row from
// the rectangle's top edge down. The walk works in doubled coordinates
// around the ellipse's centre, where pixel centres are odd numbers and the
// semi-axes are a = 2rx - 1 and b = 2ry - 1. From the top pixel beside the
// centre it moves right, diagonally or down, whichever lands on the pixel
// where b^2 X^2 + a^2 Y^2 - a^2 b^2 is nearest to zero. (The value is always
// odd and two moves never give the same magnitude, so there are no ties.)
std::vector<CornerRow> CornerShape(int rx, int ry) {
    const i64 a = 2 * i64(rx) - 1, b = 2 * i64(ry) - 1;
    const i64 aa = a * a, bb = b * b;
    const auto miss = [&](i64 x, i64 y) { return Abs(bb * x * x + aa * y * y - aa * bb); };
    std::vector<CornerRow> rows(std::size_t(ry), CornerRow{rx, -1});
    i64 x = 1, y = b;
    for (;;) {
        CornerRow& row = rows[std::size_t(ry - 1 - (y - 1) / 2)];
        const int column = int(rx - 1 - (x - 1) / 2);
        row.First = std::min(row.First, column);
        row.Last = std::max(row.Last, column);
        if (x == a && y == 1) break;
        i64 best = std::numeric_limits<i64>::max();
        i64 nx = x, ny = y;
        const auto consider = [&](bool allowed, i64 cx, i64 cy) {
            if (!allowed || miss(cx, cy) >= best) return;
            best = miss(cx, cy);
            nx = cx;
            ny = cy;
        };
        consider(x < a, x + 2, y);
        consider(x < a && y > 1, x + 2, y - 2);
        consider(y > 1, x, y - 2);
        x = nx;
        y = ny;
    }
    return rows;
}

// (over * alpha + under * (255 - alpha)) / 255 rounded, per channel. Red
// and blue share one word: each channel's sum stays below 2^16, and
// (x + 1 + (x >> 8)) >> 8 equals x / 255 for every x below 65535.
TPixel Blend(TPixel over, TPixel under, unsigned alpha) {
    const unsigned rest = 255 - alpha;
    std::uint32_t rb = (over & 0xFF00FF) * alpha + (under & 0xFF00FF) * rest + 0x7F007F;
    std::uint32_t g = ((over >> 8) & 0xFF) * alpha + ((under >> 8) & 0xFF) * rest + 0x7F;
    rb = ((rb + 0x10001 + ((rb >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
    g = ((g + 1 + (g >> 8)) >> 8) & 0xFF;
    return rb | (g << 8);
}

// Picks the source pixel under each destination pixel's centre: pixel i of
// `dstLen` maps to ceil((2i + 1) * srcLen / (2 dstLen)) - 1, so a centre
// exactly on a border takes the earlier pixel. Advanced one i at a time.
class CentreSampler {
public:
    CentreSampler(i64 first, i64 srcLen, i64 dstLen)
        : den_(2 * dstLen), stepWhole_(srcLen / dstLen), stepRest_(2 * srcLen % den_) {
        const QuotRem qr = MulDiv(u64(2 * first + 1), u64(srcLen), u64(den_));
        whole_ = i64(qr.Quot);
        rest_ = i64(qr.Rem);
    }
    i64 Index() const { return whole_ + (rest_ != 0 ? 1 : 0) - 1; }
    void Next() {
        whole_ += stepWhole_;
        rest_ += stepRest_;
        if (rest_ >= den_) {
            rest_ -= den_;
            ++whole_;
        }
    }

private:
    i64 den_;
    i64 stepWhole_;
    i64 stepRest_;
    i64 whole_ = 0;
    i64 rest_ = 0;
};

struct Span64 {
    i64 Left;
    i64 Right;
};
using Runs = std::vector<Span64>;

// The runs of row y moved by dx; rows outside the int range are empty.
void RowRuns(const TRegion& region, i64 y, i64 dx, Runs& out) {
    out.clear();
    if (y < std::numeric_limits<int>::min() || y > std::numeric_limits<int>::max()) return;
    for (const TRegion::Span& s : region.Row(int(y))) out.push_back({s.Left + dx, s.Right + dx});
}

// a := a ∩ b, both sorted and disjoint.
void IntersectRuns(Runs& a, const Runs& b, Runs& scratch) {
    scratch.clear();
    std::size_t j = 0;
    for (const Span64& s : a) {
        while (j < b.size() && b[j].Right <= s.Left) ++j;
        for (std::size_t k = j; k < b.size() && b[k].Left < s.Right; ++k) {
            const i64 l = std::max(s.Left, b[k].Left), r = std::min(s.Right, b[k].Right);
            if (l < r) scratch.push_back({l, r});
        }
    }
    a.swap(scratch);
}

}  // namespace

TCanvas::TCanvas(TSurface& target, const TSystemColors& colors, TFontEngine* fonts)
    : target_(&target), colors_(&colors), fonts_(fonts), clip_(target.BoundsRect()) {}

TRect TCanvas::ClipRect() const {
    return {ClampToInt(i64(clip_.Left) - origin_.X), ClampToInt(i64(clip_.Top) - origin_.Y),
            ClampToInt(i64(clip_.Right) - origin_.X), ClampToInt(i64(clip_.Bottom) - origin_.Y)};
}

void TCanvas::IntersectClip(const TRect& r) {
    const i64 left = std::max<i64>(i64(r.Left) + origin_.X, clip_.Left);
    const i64 top = std::max<i64>(i64(r.Top) + origin_.Y, clip_.Top);
    const i64 right = std::min<i64>(i64(r.Right) + origin_.X, clip_.Right);
    const i64 bottom = std::min<i64>(i64(r.Bottom) + origin_.Y, clip_.Bottom);
    clip_ = left < right && top < bottom ? TRect{int(left), int(top), int(right), int(bottom)}
                                         : TRect{};
}

TCanvas::StateSaver::StateSaver(TCanvas& c)
    : canvas_(c),
      pen_(c.Pen),
      brush_(c.Brush),
      font_(c.Font),
      copyMode_(c.CopyMode),
      penPos_(c.penPos_),
      origin_(c.origin_),
      clip_(c.clip_) {}

TCanvas::StateSaver::~StateSaver() {
    canvas_.Pen = pen_;
    canvas_.Brush = brush_;
    canvas_.Font = font_;
    canvas_.CopyMode = copyMode_;
    canvas_.penPos_ = penPos_;
    canvas_.origin_ = origin_;
    canvas_.clip_ = clip_;
}

void TCanvas::LineTo(int x, int y) {
    const TPoint from = penPos_;
    penPos_ = {x, y};
    Raster out(*target_, clip_);
    DrawLine(out, i64(from.X) + origin_.X, i64(from.Y) + origin_.Y, i64(x) + origin_.X,
             i64(y) + origin_.Y, Resolve(Pen.Color));
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    const i64 l = i64(std::min(x1, x2)) + origin_.X, r = i64(std::max(x1, x2)) + origin_.X;
    const i64 t = i64(std::min(y1, y2)) + origin_.Y, b = i64(std::max(y1, y2)) + origin_.Y;
    if (l == r || t == b || (r - l == 1 && b - t == 1)) return;
    Raster out(*target_, clip_);
    const TPixel pen = Resolve(Pen.Color);
    if (r - l <= 2 || b - t <= 2) {  // nothing but outline
        out.Fill(l, t, r, b, pen);
        return;
    }
    if (Brush.Style != bsClear) out.Fill(l + 1, t + 1, r - 1, b - 1, Resolve(Brush.Color));
    out.Row(t, l, r, pen);
    out.Row(b - 1, l, r, pen);
    out.Fill(l, t + 1, l + 1, b - 1, pen);
    out.Fill(r - 1, t + 1, r, b - 1, pen);
}

void TCanvas::FillRect(const TRect& r) {
    if (Brush.Style == bsClear) return;
    Raster out(*target_, clip_);
    out.Fill(i64(r.Left) + origin_.X, i64(r.Top) + origin_.Y, i64(r.Right) + origin_.X,
             i64(r.Bottom) + origin_.Y, Resolve(Brush.Color));
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int ellipseWidth, int ellipseHeight) {
    const i64 l = i64(std::min(x1, x2)) + origin_.X, r = i64(std::max(x1, x2)) + origin_.X;
    const i64 t = i64(std::min(y1, y2)) + origin_.Y, b = i64(std::max(y1, y2)) + origin_.Y;
    const i64 rx =
        std::min<i64>(std::min<i64>(std::max(ellipseWidth, 0), r - l) / 2, kMaxCornerRadius);
    const i64 ry =
        std::min<i64>(std::min<i64>(std::max(ellipseHeight, 0), b - t) / 2, kMaxCornerRadius);
    if (rx == 0 || ry == 0) return Rectangle(x1, y1, x2, y2);

    const std::vector<CornerRow> corner = CornerShape(int(rx), int(ry));
    Raster out(*target_, clip_);
    const TPixel pen = Resolve(Pen.Color), brush = Resolve(Brush.Color);
    const bool fill = Brush.Style != bsClear;
    for (i64 y = std::max<i64>(t, out.Clip().Top); y < std::min<i64>(b, out.Clip().Bottom); ++y) {
        const i64 fromEdge = std::min(y - t, b - 1 - y);
        const CornerRow row = fromEdge < ry ? corner[std::size_t(fromEdge)] : CornerRow{0, 0};
        if (fromEdge == 0) {
            out.Row(y, l + row.First, r - row.First, pen);
            continue;
        }
        if (fill) out.Row(y, l + row.Last + 1, r - 1 - row.Last, brush);
        out.Row(y, l + row.First, l + row.Last + 1, pen);
        out.Row(y, r - 1 - row.Last, r - row.First, pen);
    }
}

void TCanvas::Polygon(std::span<const TPoint> points, TPolyFillMode mode) {
    if (points.empty()) return;
    if (Brush.Style != bsClear) {
        // Scanning only the clip's rows keeps huge polygons cheap.
        FillRegion(TRegion::FromPolygon(points, mode, ClipRect()), Brush.Color);
    }
    Raster out(*target_, clip_);
    const TPixel pen = Resolve(Pen.Color);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const TPoint a = points[i], b = points[(i + 1) % points.size()];
        DrawLine(out, i64(a.X) + origin_.X, i64(a.Y) + origin_.Y, i64(b.X) + origin_.X,
                 i64(b.Y) + origin_.Y, pen);
    }
}

void TCanvas::FillRegion(const TRegion& region, TColor color) {
    Raster out(*target_, clip_);
    const TPixel p = Resolve(color);
    const i64 firstRow = i64(out.Clip().Top) - origin_.Y;
    const auto& spans = region.Spans();
    auto it = std::lower_bound(spans.begin(), spans.end(), firstRow,
                               [](const TRegion::Span& s, i64 y) { return s.Y < y; });
    for (; it != spans.end() && i64(it->Y) + origin_.Y < out.Clip().Bottom; ++it)
        out.Row(i64(it->Y) + origin_.Y, i64(it->Left) + origin_.X, i64(it->Right) + origin_.X, p);
}

// A pixel of the region belongs to the frame unless the pixels `width` to
// the left and right and `height` above and below are all in the region.
// Row by row: interior = S(y) ∩ (S(y) + w) ∩ (S(y) - w) ∩ S(y - h) ∩ S(y + h),
// frame = S(y) minus interior, all on runs rather than pixels.
void TCanvas::FrameRgn(const TRegion& region, TColor color, int width, int height) {
    if (region.Empty()) return;
    Raster out(*target_, clip_);
    const TPixel p = Resolve(color);
    const TRect box = region.BoundingBox();
    const i64 top = std::max<i64>(box.Top, i64(out.Clip().Top) - origin_.Y);
    const i64 bottom = std::min<i64>(box.Bottom, i64(out.Clip().Bottom) - origin_.Y);
    Runs interior, other, scratch;
    for (i64 y = top; y < bottom; ++y) {
        RowRuns(region, y, 0, interior);
        for (const auto& [dy, dx] :
             {std::pair<i64, i64>{0, width}, {0, -i64(width)}, {-i64(height), 0}, {height, 0}}) {
            RowRuns(region, y + dy, dx, other);
            IntersectRuns(interior, other, scratch);
        }
        std::size_t k = 0;
        for (const TRegion::Span& s : region.Row(int(y))) {
            i64 x = s.Left;
            for (; k < interior.size() && interior[k].Left < s.Right; ++k) {
                out.Row(y + origin_.Y, x + origin_.X, interior[k].Left + origin_.X, p);
                x = interior[k].Right;
            }
            out.Row(y + origin_.Y, x + origin_.X, i64(s.Right) + origin_.X, p);
        }
    }
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    Raster out(*target_, clip_);
    out.Plot(i64(x) + origin_.X, i64(y) + origin_.Y, Resolve(color));
}

TColor TCanvas::GetPixel(int x, int y) const {
    const Raster in(*target_, clip_);
    const i64 sx = i64(x) + origin_.X, sy = i64(y) + origin_.Y;
    return in.Inside(sx, sy) ? ColorFromPixel(target_->At(int(sx), int(sy))) : clBlack;
}

void TCanvas::BitBlt(int x, int y, int width, int height, const TSurface& src, int srcX, int srcY) {
    if (width <= 0 || height <= 0) return;
    const Raster out(*target_, clip_);
    const i64 dx = i64(x) + origin_.X, dy = i64(y) + origin_.Y;
    // Destination pixel (u, v) takes source pixel (u - shiftX, v - shiftY).
    const i64 shiftX = dx - srcX, shiftY = dy - srcY;
    const i64 left = std::max({dx, i64(out.Clip().Left), shiftX});
    const i64 right = std::min({dx + width, i64(out.Clip().Right), shiftX + src.Width()});
    const i64 top = std::max({dy, i64(out.Clip().Top), shiftY});
    const i64 bottom = std::min({dy + height, i64(out.Clip().Bottom), shiftY + src.Height()});
    if (left >= right || top >= bottom) return;
    // Copying within one surface downwards must go bottom-up; memmove takes
    // care of overlap within a row.
    const bool upwards = &src == target_ && shiftY > 0;
    const std::size_t bytes = std::size_t(right - left) * sizeof(TPixel);
    for (i64 k = 0; k < bottom - top; ++k) {
        const i64 v = upwards ? bottom - 1 - k : top + k;
        std::memmove(target_->Row(int(v)) + left, src.Row(int(v - shiftY)) + (left - shiftX),
                     bytes);
    }
}

void TCanvas::StretchBlt(const TRect& dest, const TSurface& src, const TRect& srcRect) {
    const i64 dw = i64(dest.Right) - dest.Left, dh = i64(dest.Bottom) - dest.Top;
    const i64 sw = i64(srcRect.Right) - srcRect.Left, sh = i64(srcRect.Bottom) - srcRect.Top;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    if (dw == sw && dh == sh)
        return BitBlt(dest.Left, dest.Top, int(dw), int(dh), src, srcRect.Left, srcRect.Top);
    if (&src == target_) {  // sampling must not see pixels it has just written
        const TSurface copy = src;
        return StretchBlt(dest, copy, srcRect);
    }
    const Raster out(*target_, clip_);
    const i64 dx = i64(dest.Left) + origin_.X, dy = i64(dest.Top) + origin_.Y;
    const i64 left = std::max<i64>(dx, out.Clip().Left),
              right = std::min<i64>(dx + dw, out.Clip().Right);
    const i64 top = std::max<i64>(dy, out.Clip().Top),
              bottom = std::min<i64>(dy + dh, out.Clip().Bottom);
    if (left >= right || top >= bottom) return;
    std::vector<i64> columns;
    for (CentreSampler s(left - dx, sw, dw); i64(columns.size()) < right - left; s.Next())
        columns.push_back(srcRect.Left + s.Index());
    CentreSampler rows(top - dy, sh, dh);
    for (i64 v = top; v < bottom; ++v, rows.Next()) {
        const i64 sy = srcRect.Top + rows.Index();
        if (sy < 0 || sy >= src.Height()) continue;
        TPixel* outRow = target_->Row(int(v)) + left;
        const TPixel* inRow = src.Row(int(sy));
        for (std::size_t k = 0; k < columns.size(); ++k)
            if (columns[k] >= 0 && columns[k] < src.Width()) outRow[k] = inRow[columns[k]];
    }
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    BitBlt(x, y, bitmap.Width(), bitmap.Height(), bitmap.Surface(), 0, 0);
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& bitmap) {
    StretchBlt(dest, bitmap.Surface(), bitmap.Surface().BoundsRect());
}

void TCanvas::Draw(int x, int y, const TIcon& icon) {
    if (icon.Empty()) return;
    const Raster out(*target_, clip_);
    const i64 dx = i64(x) + origin_.X, dy = i64(y) + origin_.Y;
    const i64 left = std::max<i64>(dx, out.Clip().Left),
              right = std::min<i64>(dx + icon.Width(), out.Clip().Right);
    const i64 top = std::max<i64>(dy, out.Clip().Top),
              bottom = std::min<i64>(dy + icon.Height(), out.Clip().Bottom);
    for (i64 v = top; v < bottom; ++v) {
        TPixel* row = target_->Row(int(v)) + left;
        const TPixel* in = icon.Pixels().Row(int(v - dy)) + (left - dx);
        const std::uint8_t* alpha = icon.Alpha().data() + (v - dy) * icon.Width() + (left - dx);
        for (i64 k = 0; k < right - left; ++k) {
            if (alpha[k] == 255)
                row[k] = in[k];
            else if (alpha[k] != 0)
                row[k] = Blend(in[k], row[k], alpha[k]);
        }
    }
}

}  // namespace gfx
