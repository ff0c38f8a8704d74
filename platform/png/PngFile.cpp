// PNG files through libpng's simplified API, which reports errors by return
// value, so no longjmp ever crosses C++ frames.
#include "platform/png/PngFile.h"

#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#include "settings/FileBytes.h"

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

// The picture as 8-bit BGRA rows, however the file stores it.
struct BgraImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Bytes;
};

BgraImage DecodeBgra(std::string_view bytes, const std::string& path, std::uint64_t maxPixels) {
    PngImage png;
    if (!png_image_begin_read_from_memory(png.Get(), bytes.data(), bytes.size()))
        Fail(path, png.Message());
    // Checked before any buffer is made, so a hostile header cannot ask for
    // gigabytes.
    const std::uint64_t pixels = std::uint64_t(png->width) * png->height;
    if (pixels > std::min<std::uint64_t>(maxPixels, gui::TSurface::kMaxPixels))
        Fail(path, "image too large");
    png->format = PNG_FORMAT_BGRA;
    BgraImage image{int(png->width), int(png->height),
                    std::vector<std::uint8_t>(PNG_IMAGE_SIZE(*png.Get()))};
    if (!png_image_finish_read(png.Get(), nullptr, image.Bytes.data(), 0, nullptr))
        Fail(path, png.Message());
    return image;
}

void WriteImage(const std::string& path, int width, int height, std::uint32_t format,
                const std::vector<std::uint8_t>& bytes) {
    PngImage png;
    png->width = png_uint_32(width);
    png->height = png_uint_32(height);
    png->format = format;
    if (!png_image_write_to_file(png.Get(), path.c_str(), 0, bytes.data(), 0, nullptr))
        Fail(path, png.Message());
}

}  // namespace

PngPicture ReadPngWithAlpha(const std::string& path, const PngLimits& limits) {
    // Read whole first: libpng's own file reading would open a named pipe
    // and wait on it, or read a device without end.
    const std::optional<std::string> bytes = gui::ReadFileBytes(path, limits.MaxFileBytes);
    if (!bytes) Fail(path, "not a readable regular file of at most " +
                               std::to_string(limits.MaxFileBytes) + " bytes");
    return DecodePngWithAlpha(*bytes, path, limits.MaxPixels);
}

PngPicture DecodePngWithAlpha(std::string_view bytes, const std::string& path,
                              std::uint64_t maxPixels) {
    const BgraImage image = DecodeBgra(bytes, path, maxPixels);
    PngPicture picture{gui::TSurface(image.Width, image.Height),
                       std::vector<std::uint8_t>(std::size_t(image.Width) * image.Height)};
    const std::uint8_t* in = image.Bytes.data();
    std::uint8_t* alpha = picture.Alpha.data();
    for (int y = 0; y < image.Height; ++y) {
        gui::TPixel* out = picture.Pixels.Row(y);
        for (int x = 0; x < image.Width; ++x, in += 4) {
            out[x] = gui::PixelFromRgb(in[2], in[1], in[0]);
            *alpha++ = in[3];
        }
    }
    return picture;
}

gui::TSurface ReadPng(const std::string& path) { return ReadPngWithAlpha(path).Pixels; }

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
    WriteImage(path, surface.Width(), surface.Height(), PNG_FORMAT_RGB, bytes);
}

void WritePng(const std::string& path, const PngPicture& picture) {
    const gui::TSurface& surface = picture.Pixels;
    if (surface.Empty()) Fail(path, "cannot write an empty image");
    if (picture.Alpha.size() != std::size_t(surface.Width()) * std::size_t(surface.Height()))
        Fail(path, "alpha size does not match the image");
    std::vector<std::uint8_t> bytes;
    bytes.reserve(picture.Alpha.size() * 4);
    const std::uint8_t* alpha = picture.Alpha.data();
    for (int y = 0; y < surface.Height(); ++y) {
        const gui::TPixel* row = surface.Row(y);
        for (int x = 0; x < surface.Width(); ++x) {
            bytes.push_back(std::uint8_t(row[x] >> 16));
            bytes.push_back(std::uint8_t(row[x] >> 8));
            bytes.push_back(std::uint8_t(row[x]));
            bytes.push_back(*alpha++);
        }
    }
    WriteImage(path, surface.Width(), surface.Height(), PNG_FORMAT_RGBA, bytes);
}

}  // namespace platform
