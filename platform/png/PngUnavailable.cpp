// PngFile.h for a build without libpng (the Windows build): the interface
// stays, so that code writing pictures for people (test diff pictures) links
// everywhere, and each call says why it cannot do its work.
#include <stdexcept>

#include "platform/png/PngFile.h"

namespace platform {

namespace {
[[noreturn]] void Unavailable(const std::string& path) {
    throw std::runtime_error("PNG files are not supported by this build: " + path);
}
}  // namespace

gfx::TSurface ReadPng(const std::string& path) { Unavailable(path); }
PngPicture ReadPngWithAlpha(const std::string& path, const PngLimits&) { Unavailable(path); }
PngPicture DecodePngWithAlpha(std::string_view, const std::string& name, std::uint64_t) {
    Unavailable(name);
}
void WritePng(const std::string& path, const gfx::TSurface&) { Unavailable(path); }
void WritePng(const std::string& path, const PngPicture&) { Unavailable(path); }

}  // namespace platform
