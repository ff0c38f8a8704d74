#include "platform/xdg/icons/IconScaling.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace platform::xdg {

namespace {

struct Share {
    int Index;             // source pixel
    std::uint64_t Weight;  // its overlap with the target pixel
};

// Along one axis, target pixel t covers [t * from, (t + 1) * from) and
// source pixel s covers [s * to, (s + 1) * to), both in units of 1 / (from * to)
// of the whole length: the overlaps are whole numbers summing to `from`.
std::vector<std::vector<Share>> Shares(int from, int to) {
    std::vector<std::vector<Share>> shares(static_cast<std::size_t>(to));
    for (int t = 0; t < to; ++t) {
        const std::int64_t begin = std::int64_t(t) * from;
        const std::int64_t end = begin + from;
        for (std::int64_t s = begin / to; s < from && s * to < end; ++s) {
            const std::int64_t overlap = std::min(end, (s + 1) * to) - std::max(begin, s * to);
            if (overlap > 0) shares[std::size_t(t)].push_back({int(s), std::uint64_t(overlap)});
        }
    }
    return shares;
}

struct Sum {
    std::uint64_t Alpha = 0, Red = 0, Green = 0, Blue = 0;

    void Add(gfx::TPixel p, std::uint64_t alpha, std::uint64_t weight) {
        const std::uint64_t w = alpha * weight;
        Alpha += w;
        Red += ((p >> 16) & 0xFF) * w;
        Green += ((p >> 8) & 0xFF) * w;
        Blue += (p & 0xFF) * w;
    }
};

std::uint64_t RoundedDivide(std::uint64_t a, std::uint64_t b) { return (a + b / 2) / b; }

}  // namespace

gfx::TIcon ScaleIcon(const PngPicture& picture, int size) {
    const gfx::TSurface& source = picture.Pixels;
    if (source.Empty() || size <= 0) return {};
    if (source.Width() == size && source.Height() == size) return {source, picture.Alpha};

    const auto across = Shares(source.Width(), size);
    const auto down = Shares(source.Height(), size);
    const std::uint64_t area = std::uint64_t(source.Width()) * std::uint64_t(source.Height());
    gfx::TSurface pixels(size, size);
    std::vector<std::uint8_t> alpha(std::size_t(size) * std::size_t(size));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Sum sum;
            for (const Share& row : down[std::size_t(y)])
                for (const Share& column : across[std::size_t(x)])
                    sum.Add(source.At(column.Index, row.Index),
                            picture.Alpha[std::size_t(row.Index) * source.Width() + column.Index],
                            row.Weight * column.Weight);
            alpha[std::size_t(y) * size + x] = std::uint8_t(RoundedDivide(sum.Alpha, area));
            if (sum.Alpha == 0) continue;
            pixels.Set(x, y, gfx::PixelFromRgb(std::uint8_t(RoundedDivide(sum.Red, sum.Alpha)),
                                               std::uint8_t(RoundedDivide(sum.Green, sum.Alpha)),
                                               std::uint8_t(RoundedDivide(sum.Blue, sum.Alpha))));
        }
    }
    return {std::move(pixels), std::move(alpha)};
}

}  // namespace platform::xdg
