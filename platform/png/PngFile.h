// Reading and writing PNG files (8-bit RGB or RGBA) as 32-bit surfaces.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/Surface.h"

namespace platform {

// A picture with its transparency: one alpha value per pixel, row-major,
// 0 transparent .. 255 opaque, colours not premultiplied.
struct PngPicture {
    gfx::TSurface Pixels;
    std::vector<std::uint8_t> Alpha;
};

// What one read may take: the file's length and the picture's pixels.
struct PngLimits {
    std::uintmax_t MaxFileBytes = std::uintmax_t(256) << 20;
    std::uint64_t MaxPixels = gfx::TSurface::kMaxPixels;
};

// Every function throws std::runtime_error with the path on any failure.
// Only regular files are read (a named pipe or a device is refused without
// waiting on it), and none beyond the limits.
gfx::TSurface ReadPng(const std::string& path);
// A file without an alpha channel reads as wholly opaque.
PngPicture ReadPngWithAlpha(const std::string& path, const PngLimits& limits = {});
// PNG bytes held in memory; `name` stands for them in error messages.
PngPicture DecodePngWithAlpha(std::string_view bytes, const std::string& name,
                              std::uint64_t maxPixels = gfx::TSurface::kMaxPixels);
void WritePng(const std::string& path, const gfx::TSurface& surface);
// Writes RGBA; `picture.Alpha` must hold one value per pixel.
void WritePng(const std::string& path, const PngPicture& picture);

}  // namespace platform
