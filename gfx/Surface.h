// A 32-bit pixel surface: the back buffer of a window or the pixels of an
// off-screen image. Pixels are 0x00RRGGBB; the top byte is unused.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "gfx/Types.h"

namespace gfx {

class TSurface {
public:
    // Negative sizes count as 0. Sizes whose pixel count would exceed
    // kMaxPixels throw std::length_error instead of allocating.
    TSurface() = default;
    TSurface(int width, int height, TPixel fill = 0);
    TSurface(const TSurface&) = default;
    TSurface& operator=(const TSurface&) = default;
    // A moved-from surface is empty (0 x 0), not a size without pixels.
    TSurface(TSurface&& other) noexcept
        : width_(std::exchange(other.width_, 0)), height_(std::exchange(other.height_, 0)),
          pixels_(std::move(other.pixels_)) {}
    TSurface& operator=(TSurface&& other) noexcept {
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        pixels_ = std::move(other.pixels_);
        other.pixels_.clear();
        return *this;
    }

    static constexpr std::size_t kMaxPixels = std::size_t(1) << 28;

    int Width() const { return width_; }
    int Height() const { return height_; }
    TRect BoundsRect() const { return {0, 0, width_, height_}; }
    bool Empty() const { return width_ == 0 || height_ == 0; }

    // Unchecked access; callers clip first.
    TPixel At(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }
    void Set(int x, int y, TPixel p) { pixels_[std::size_t(y) * width_ + x] = p; }
    TPixel* Row(int y) { return pixels_.data() + std::size_t(y) * width_; }
    const TPixel* Row(int y) const { return pixels_.data() + std::size_t(y) * width_; }
    const TPixel* Data() const { return pixels_.data(); }

    // Checked access: points outside the surface read as 0 and are not written.
    TPixel Get(int x, int y) const;
    void Put(int x, int y, TPixel p);

    void Fill(TPixel p);
    void FillRect(const TRect& r, TPixel p);  // clipped to the surface
    // Resizes, keeping the overlapping top-left part; new pixels get `fill`.
    void Resize(int width, int height, TPixel fill = 0);

    friend bool operator==(const TSurface&, const TSurface&) = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<TPixel> pixels_;
};

}  // namespace gfx
