// PNG files through libpng. Writing uses the simplified API, which reports
// errors by return value. Reading uses the full API, because only that one
// takes limits before libpng allocates anything: a hostile file of a few
// bytes must not make it reserve gigabytes or work for seconds.
#include "platform/png/PngFile.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#include "base/FileBytes.h"

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

// What libpng reads from, and where its error callback leaves the message.
struct PngSource {
    std::string_view Bytes;
    std::size_t Position = 0;
    char Message[160] = "";
};

void ReadFromSource(png_structp png, png_bytep out, std::size_t length) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > source->Bytes.size() - source->Position) png_error(png, "file ends early");
    std::memcpy(out, source->Bytes.data() + source->Position, length);
    source->Position += length;
}

// libpng's errors end in a longjmp back to DecodeBgra; its warnings (a bad
// CRC in an ancillary chunk, an unknown colour profile) change nothing.
[[noreturn]] void OnPngError(png_structp png, png_const_charp message) {
    auto* source = static_cast<PngSource*>(png_get_error_ptr(png));
    std::snprintf(source->Message, sizeof source->Message, "%s", message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Owns libpng's read and info structures.
class PngReader {
public:
    explicit PngReader(PngSource& source)
        : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, OnPngError, OnPngWarning)),
          info_(png_ ? png_create_info_struct(png_) : nullptr) {
        if (!info_) {
            png_destroy_read_struct(png_ ? &png_ : nullptr, nullptr, nullptr);
            throw std::bad_alloc();
        }
        png_set_read_fn(png_, &source, ReadFromSource);
    }
    ~PngReader() { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    png_structp Png() const { return png_; }
    png_infop Info() const { return info_; }

private:
    png_structp png_;
    png_infop info_;
};

// Limits set before the first byte is read. The picture itself is bounded by
// the pixel limit; the chunks around it are what an icon never needs much
// of: compressed text, colour profiles and palettes are held to 256 KiB
// each (their decompressed size included) and to 64 in all.
void SetLimits(png_structp png, std::uint64_t maxPixels) {
    const auto side = png_uint_32(std::min<std::uint64_t>(maxPixels, PNG_UINT_31_MAX));
    png_set_user_limits(png, side, side);
    png_set_chunk_cache_max(png, 64);
    png_set_chunk_malloc_max(png, 256 * 1024);
    // Text and profiles are never used: skipped unread, not decompressed.
    static constexpr png_byte kSkipped[] = {'i', 'C', 'C', 'P', 0, 'i', 'T', 'X', 't', 0,
                                            's', 'P', 'L', 'T', 0, 't', 'E', 'X', 't', 0,
                                            'z', 'T', 'X', 't', 0, 'e', 'X', 'I', 'f', 0};
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkipped, int(sizeof kSkipped / 5));
}

// Whatever the file holds becomes 8-bit blue, green, red, alpha.
void SetBgraTransforms(png_structp png, png_infop info) {
    const png_byte type = png_get_color_type(png, info);
    png_set_expand(png);  // palette and low-bit grey to 8 bits, tRNS to alpha
    png_set_scale_16(png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    if (!(type & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

// The picture as 8-bit BGRA rows, however the file stores it.
struct BgraImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Bytes;
};

// The two steps that call into libpng, each arming its own landing for
// libpng's longjmp in a frame that holds nothing with a destructor. Each
// returns false after an error, whose text is then in the source.
bool ReadHeader(png_structp png, png_infop info, std::uint64_t maxPixels) {
    if (setjmp(png_jmpbuf(png))) return false;
    SetLimits(png, maxPixels);
    png_read_info(png, info);
    // Checked before any buffer is made, so a hostile header cannot ask for
    // gigabytes.
    const std::uint64_t pixels =
        std::uint64_t(png_get_image_width(png, info)) * png_get_image_height(png, info);
    if (pixels > std::min<std::uint64_t>(maxPixels, gfx::TSurface::kMaxPixels))
        png_error(png, "image too large");
    SetBgraTransforms(png, info);
    if (png_get_rowbytes(png, info) != std::size_t(png_get_image_width(png, info)) * 4)
        png_error(png, "unexpected pixel layout");
    return true;
}

bool ReadRows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    return true;
}

BgraImage DecodeBgra(std::string_view bytes, const std::string& path, std::uint64_t maxPixels) {
    PngSource source{bytes};
    PngReader reader(source);
    if (!ReadHeader(reader.Png(), reader.Info(), maxPixels)) Fail(path, source.Message);
    BgraImage image;
    image.Width = int(png_get_image_width(reader.Png(), reader.Info()));
    image.Height = int(png_get_image_height(reader.Png(), reader.Info()));
    const std::size_t stride = std::size_t(image.Width) * 4;
    image.Bytes.resize(stride * std::size_t(image.Height));
    std::vector<png_bytep> rows(std::size_t(image.Height));
    for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = image.Bytes.data() + y * stride;
    if (!ReadRows(reader.Png(), rows.data())) Fail(path, source.Message);
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
    const std::optional<std::string> bytes = base::ReadFileBytes(path, limits.MaxFileBytes);
    if (!bytes) Fail(path, "not a readable regular file of at most " +
                               std::to_string(limits.MaxFileBytes) + " bytes");
    return DecodePngWithAlpha(*bytes, path, limits.MaxPixels);
}

PngPicture DecodePngWithAlpha(std::string_view bytes, const std::string& path,
                              std::uint64_t maxPixels) {
    const BgraImage image = DecodeBgra(bytes, path, maxPixels);
    PngPicture picture{gfx::TSurface(image.Width, image.Height),
                       std::vector<std::uint8_t>(std::size_t(image.Width) * image.Height)};
    const std::uint8_t* in = image.Bytes.data();
    std::uint8_t* alpha = picture.Alpha.data();
    for (int y = 0; y < image.Height; ++y) {
        gfx::TPixel* out = picture.Pixels.Row(y);
        for (int x = 0; x < image.Width; ++x, in += 4) {
            out[x] = gfx::PixelFromRgb(in[2], in[1], in[0]);
            *alpha++ = in[3];
        }
    }
    return picture;
}

gfx::TSurface ReadPng(const std::string& path) { return ReadPngWithAlpha(path).Pixels; }

void WritePng(const std::string& path, const gfx::TSurface& surface) {
    if (surface.Empty()) Fail(path, "cannot write an empty image");
    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::size_t(surface.Width()) * std::size_t(surface.Height()) * 3);
    for (int y = 0; y < surface.Height(); ++y) {
        const gfx::TPixel* row = surface.Row(y);
        for (int x = 0; x < surface.Width(); ++x) {
            bytes.push_back(std::uint8_t(row[x] >> 16));
            bytes.push_back(std::uint8_t(row[x] >> 8));
            bytes.push_back(std::uint8_t(row[x]));
        }
    }
    WriteImage(path, surface.Width(), surface.Height(), PNG_FORMAT_RGB, bytes);
}

void WritePng(const std::string& path, const PngPicture& picture) {
    const gfx::TSurface& surface = picture.Pixels;
    if (surface.Empty()) Fail(path, "cannot write an empty image");
    if (picture.Alpha.size() != std::size_t(surface.Width()) * std::size_t(surface.Height()))
        Fail(path, "alpha size does not match the image");
    std::vector<std::uint8_t> bytes;
    bytes.reserve(picture.Alpha.size() * 4);
    const std::uint8_t* alpha = picture.Alpha.data();
    for (int y = 0; y < surface.Height(); ++y) {
        const gfx::TPixel* row = surface.Row(y);
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
