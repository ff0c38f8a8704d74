#include "resources/ImageLoader.h"

#include <utility>
#include <vector>

namespace resources {

gfx::TBitmap ToBitmap(const EmbeddedImage& image) {
    std::vector<gfx::TPixel> palette;
    palette.reserve(image.Palette.size());
    for (const EmbeddedColor& color : image.Palette) palette.push_back(color.Pixel);
    return gfx::TBitmap::FromIndexed(image.Width, image.Height, palette,
                                     {image.Indices.begin(), image.Indices.end()});
}

gfx::TIcon ToIcon(const EmbeddedImage& image) {
    gfx::TSurface pixels(image.Width, image.Height);
    std::vector<std::uint8_t> alpha;
    alpha.reserve(image.Indices.size());
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            const EmbeddedColor& color = image.At(x, y);
            pixels.Set(x, y, color.Pixel);
            alpha.push_back(color.Transparent ? 0 : 255);
        }
    }
    return gfx::TIcon(std::move(pixels), std::move(alpha));
}

}  // namespace resources
