// An image compiled into the program: a palette of up to 256 colours and
// one palette index per pixel. The images are generated at build time from
// the XPM files in this folder (cmake/XpmToCpp.cmake) and live in read-only
// data; resources/ImageLoader.h turns them into bitmaps and icons.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace resources {

struct EmbeddedColor {
    std::uint32_t Pixel;  // 0x00RRGGBB; 0 for a transparent entry
    bool Transparent;
};

struct EmbeddedImage {
    int Width;
    int Height;
    std::span<const EmbeddedColor> Palette;
    std::span<const std::uint8_t> Indices;  // row-major, Width * Height

    const EmbeddedColor& At(int x, int y) const {
        return Palette[Indices[std::size_t(y) * std::size_t(Width) + std::size_t(x)]];
    }
};

}  // namespace resources
