// Off-screen images: TBitmap (paletted, 24-bit or 32-bit pixels) and TIcon
// (an image with per-pixel transparency).
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/Surface.h"

namespace gfx {

enum TPixelFormat { pf8bit, pf24bit, pf32bit };

// A bitmap keeps its pixels as a 32-bit surface whatever its format; the
// format records what it was made as, and an 8-bit bitmap keeps its palette
// (index -> pixel) so that it can be saved or inspected as such.
class TBitmap {
public:
    TBitmap() = default;
    TBitmap(int width, int height, TPixelFormat format = pf24bit);
    // An 8-bit bitmap from palette indices (row-major, width * height).
    // Throws std::invalid_argument when the sizes disagree or an index is
    // outside the palette.
    static TBitmap FromIndexed(int width, int height, const std::vector<TPixel>& palette,
                               const std::vector<std::uint8_t>& indices);

    int Width() const { return surface_.Width(); }
    int Height() const { return surface_.Height(); }
    bool Empty() const { return surface_.Empty(); }
    TPixelFormat PixelFormat() const { return format_; }
    const std::vector<TPixel>& Palette() const { return palette_; }
    void SetSize(int width, int height) { surface_.Resize(width, height); }

    TSurface& Surface() { return surface_; }
    const TSurface& Surface() const { return surface_; }

private:
    TSurface surface_;
    TPixelFormat format_ = pf24bit;
    std::vector<TPixel> palette_;
};

// An icon: colour pixels plus an alpha mask (0 transparent .. 255 opaque).
// An empty icon has no image and no handle. Every non-empty icon carries a
// handle number unique in the process, which the notification area and the
// slot table use to tell icons apart.
class TIcon {
public:
    TIcon() = default;
    // `alpha` holds one value per pixel, row-major; throws
    // std::invalid_argument when its size does not match.
    TIcon(TSurface pixels, std::vector<std::uint8_t> alpha);
    // A copy is another icon and gets its own handle; a move hands the
    // handle over and leaves the source empty.
    TIcon(const TIcon& other);
    TIcon& operator=(const TIcon& other);
    TIcon(TIcon&& other) noexcept;
    TIcon& operator=(TIcon&& other) noexcept;

    bool Empty() const { return pixels_.Empty(); }
    int Width() const { return pixels_.Width(); }
    int Height() const { return pixels_.Height(); }
    std::uint64_t Handle() const { return handle_; }
    const TSurface& Pixels() const { return pixels_; }
    const std::vector<std::uint8_t>& Alpha() const { return alpha_; }
    std::uint8_t AlphaAt(int x, int y) const { return alpha_[std::size_t(y) * Width() + x]; }

    void Clear();

private:
    TSurface pixels_;
    std::vector<std::uint8_t> alpha_;
    std::uint64_t handle_ = 0;
};

}  // namespace gfx
