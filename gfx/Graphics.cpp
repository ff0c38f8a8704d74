#include "gfx/Graphics.h"

#include <atomic>
#include <stdexcept>
#include <utility>

namespace gfx {

namespace {

// Icon handles are numbered from 1 so that 0 can mean "no icon". The counter
// is the one piece of process-wide state here: handles must differ across
// every icon the process ever makes.
std::uint64_t NextIconHandle() {
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

}  // namespace

TBitmap::TBitmap(int width, int height, TPixelFormat format)
    : surface_(width, height), format_(format) {}

TBitmap TBitmap::FromIndexed(int width, int height, const std::vector<TPixel>& palette,
                             const std::vector<std::uint8_t>& indices) {
    TBitmap bitmap(width, height, pf8bit);
    const std::size_t count = std::size_t(bitmap.Width()) * std::size_t(bitmap.Height());
    if (indices.size() != count)
        throw std::invalid_argument("bitmap: index count does not match the size");
    for (int y = 0; y < bitmap.Height(); ++y) {
        TPixel* row = bitmap.surface_.Row(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            const std::uint8_t index =
                indices[std::size_t(y) * std::size_t(bitmap.Width()) + std::size_t(x)];
            if (index >= palette.size())
                throw std::invalid_argument("bitmap: index outside the palette");
            row[x] = palette[index];
        }
    }
    bitmap.palette_ = palette;
    return bitmap;
}

TIcon::TIcon(TSurface pixels, std::vector<std::uint8_t> alpha)
    : pixels_(std::move(pixels)), alpha_(std::move(alpha)) {
    const std::size_t count = std::size_t(pixels_.Width()) * std::size_t(pixels_.Height());
    if (alpha_.size() != count)
        throw std::invalid_argument("icon: alpha size does not match the image");
    if (!pixels_.Empty()) handle_ = NextIconHandle();
}

TIcon::TIcon(const TIcon& other)
    : pixels_(other.pixels_), alpha_(other.alpha_), handle_(other.Empty() ? 0 : NextIconHandle()) {}

TIcon& TIcon::operator=(const TIcon& other) {
    if (this != &other) *this = TIcon(other);
    return *this;
}

TIcon::TIcon(TIcon&& other) noexcept
    : pixels_(std::move(other.pixels_)),
      alpha_(std::move(other.alpha_)),
      handle_(std::exchange(other.handle_, 0)) {
    other.Clear();
}

TIcon& TIcon::operator=(TIcon&& other) noexcept {
    if (this == &other) return *this;
    pixels_ = std::move(other.pixels_);
    alpha_ = std::move(other.alpha_);
    handle_ = std::exchange(other.handle_, 0);
    other.Clear();
    return *this;
}

void TIcon::Clear() {
    // A moved-from surface keeps its size, so reset it explicitly.
    pixels_ = TSurface();
    alpha_.clear();
    handle_ = 0;
}

}  // namespace gfx
