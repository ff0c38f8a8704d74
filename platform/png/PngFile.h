// Reading and writing PNG files (8-bit RGB or RGBA) as 32-bit surfaces.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/Surface.h"

namespace platform {

// A picture with its transparency: one alpha value per pixel, row-major,
// 0 transparent .. 255 opaque, colours not premultiplied.
struct PngPicture {
    gui::TSurface Pixels;
    std::vector<std::uint8_t> Alpha;
};

// Every function throws std::runtime_error with the path on any failure.
gui::TSurface ReadPng(const std::string& path);
// A file without an alpha channel reads as wholly opaque.
PngPicture ReadPngWithAlpha(const std::string& path);
void WritePng(const std::string& path, const gui::TSurface& surface);
// Writes RGBA; `picture.Alpha` must hold one value per pixel.
void WritePng(const std::string& path, const PngPicture& picture);

}  // namespace platform
