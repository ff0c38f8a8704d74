#include "gfx/Surface.h"

#include <algorithm>
#include <stdexcept>

namespace gfx {

namespace {
std::size_t CheckedCount(int width, int height) {
    const std::size_t w = std::size_t(std::max(width, 0));
    const std::size_t h = std::size_t(std::max(height, 0));
    if (h != 0 && w > TSurface::kMaxPixels / h) throw std::length_error("surface too large");
    return w * h;
}
}  // namespace

TSurface::TSurface(int width, int height, TPixel fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(CheckedCount(width, height), fill) {}

TPixel TSurface::Get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return At(x, y);
}

void TSurface::Put(int x, int y, TPixel p) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    Set(x, y, p);
}

void TSurface::Fill(TPixel p) { std::fill(pixels_.begin(), pixels_.end(), p); }

void TSurface::FillRect(const TRect& r, TPixel p) {
    const TRect c = Intersect(r, BoundsRect());
    for (int y = c.Top; y < c.Bottom; ++y) std::fill(Row(y) + c.Left, Row(y) + c.Right, p);
}

void TSurface::Resize(int width, int height, TPixel fill) {
    TSurface next(width, height, fill);
    const int w = std::min(width_, next.width_);
    const int h = std::min(height_, next.height_);
    for (int y = 0; y < h; ++y) std::copy(Row(y), Row(y) + w, next.Row(y));
    *this = std::move(next);
}

}  // namespace gfx
