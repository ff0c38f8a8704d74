// PNG files through libpng's simplified API, which reports errors by return
// value, so no longjmp ever crosses C++ frames.
#include "platform/png/PngFile.h"

#include <png.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace platform {

namespace {

// Owns one libpng image control block; png_image_free releases whatever
// libpng allocated for it, also after a failure.
class PngImage {
public:
    PngImage() {
        std::memset(&image_, 0, sizeof image_);
        image_.version = PNG_IMAGE_VERSION;
    }
    ~PngImage() { png_image_free(&image_); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;

    png_image* operator->() { return &image_; }
    png_image* Get() { return &image_; }
    std::string Message() const { return image_.message; }

private:
    png_image image_;
};

[[noreturn]] void Fail(const std::string& path, const std::string& what) {
    throw std::runtime_error("PNG file " + path + ": " + what);
}

}  // namespace

gui::TSurface ReadPng(const std::string& path) {
    PngImage png;
    if (!png_image_begin_read_from_file(png.Get(), path.c_str())) Fail(path, png.Message());
    // Checked before any buffer is made, so a hostile header cannot ask for
    // gigabytes.
    const std::uint64_t pixels = std::uint64_t(png->width) * png->height;
    if (pixels > gui::TSurface::kMaxPixels) Fail(path, "image too large");
    png->format = PNG_FORMAT_BGRA;
    std::vector<std::uint8_t> bytes(PNG_IMAGE_SIZE(*png.Get()));
    if (!png_image_finish_read(png.Get(), nullptr, bytes.data(), 0, nullptr))
        Fail(path, png.Message());

    const int width = int(png->width);
    gui::TSurface surface(width, int(png->height));
    for (int y = 0; y < surface.Height(); ++y) {
        const std::uint8_t* in = bytes.data() + std::size_t(y) * std::size_t(width) * 4;
        gui::TPixel* out = surface.Row(y);
        for (int x = 0; x < width; ++x, in += 4) out[x] = gui::PixelFromRgb(in[2], in[1], in[0]);
    }
    return surface;
}

void WritePng(const std::string& path, const gui::TSurface& surface) {
    if (surface.Empty()) Fail(path, "cannot write an empty image");
    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::size_t(surface.Width()) * std::size_t(surface.Height()) * 3);
    for (int y = 0; y < surface.Height(); ++y) {
        const gui::TPixel* row = surface.Row(y);
        for (int x = 0; x < surface.Width(); ++x) {
            bytes.push_back(std::uint8_t(row[x] >> 16));
            bytes.push_back(std::uint8_t(row[x] >> 8));
            bytes.push_back(std::uint8_t(row[x]));
        }
    }
    PngImage png;
    png->width = png_uint_32(surface.Width());
    png->height = png_uint_32(surface.Height());
    png->format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(png.Get(), path.c_str(), 0, bytes.data(), 0, nullptr))
        Fail(path, png.Message());
}

}  // namespace platform
