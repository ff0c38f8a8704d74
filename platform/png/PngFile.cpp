#include "platform/png/PngFile.h"

#include <stdexcept>

namespace platform {

gui::TSurface ReadPng(const std::string& path) { throw std::runtime_error("not yet: " + path); }
void WritePng(const std::string& path, const gui::TSurface&) { throw std::runtime_error("not yet: " + path); }

}  // namespace platform
