// Reading and writing PNG files (8-bit RGB or RGBA) as 32-bit surfaces.
#pragma once

#include <string>

#include "gui/Surface.h"

namespace platform {

// Throws std::runtime_error with the path on any failure.
gui::TSurface ReadPng(const std::string& path);
void WritePng(const std::string& path, const gui::TSurface& surface);

}  // namespace platform
