#include "platform/win32/Win32Icons.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace platform::win32 {

namespace {
BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: the first row is the top one
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A bitmap's pixels as 32-bit BGRA rows, top row first.
std::vector<std::uint32_t> ReadBits(HBITMAP bitmap, int width, int height) {
    std::vector<std::uint32_t> bits(std::size_t(width) * std::size_t(height));
    BITMAPINFO info = TopDown32(width, height);
    gdi::WindowDc screen(nullptr);
    if (!::GetDIBits(screen.Get(), bitmap, 0, UINT(height), bits.data(), &info, DIB_RGB_COLORS))
        throw std::runtime_error("GetDIBits failed for an icon");
    return bits;
}

BITMAP Describe(HBITMAP bitmap) {
    BITMAP b{};
    ::GetObjectW(bitmap, sizeof b, &b);
    return b;
}
}  // namespace

gfx::TIcon IconFromHandle(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) throw std::runtime_error("GetIconInfo failed");
    BitmapHandle color(info.hbmColor);  // GetIconInfo made these for us
    BitmapHandle mask(info.hbmMask);
    const BITMAP m = Describe(mask.Get());
    const int width = m.bmWidth;
    // A monochrome icon has no colour bitmap: its mask is twice as high,
    // the AND mask over the picture.
    const int height = color ? m.bmHeight : m.bmHeight / 2;
    const std::vector<std::uint32_t> maskBits = ReadBits(mask.Get(), width, m.bmHeight);
    const std::vector<std::uint32_t> colorBits =
        color ? ReadBits(color.Get(), width, height)
              : std::vector<std::uint32_t>(maskBits.begin() + std::ptrdiff_t(width) * height,
                                           maskBits.end());
    const bool hasAlpha = std::any_of(colorBits.begin(), colorBits.end(),
                                      [](std::uint32_t p) { return (p >> 24) != 0; });
    gfx::TSurface pixels(width, height);
    std::vector<std::uint8_t> alpha(std::size_t(width) * std::size_t(height));
    for (std::size_t i = 0; i < alpha.size(); ++i) {
        const std::uint32_t p = colorBits[i];
        alpha[i] = hasAlpha ? std::uint8_t(p >> 24) : (maskBits[i] & 0xFFFFFF) ? 0 : 255;
        pixels.Put(int(i % std::size_t(width)), int(i / std::size_t(width)), p & 0xFFFFFF);
    }
    return gfx::TIcon(std::move(pixels), std::move(alpha));
}

IconHandle HandleFromIcon(const gfx::TIcon& icon) {
    const int width = icon.Width();
    const int height = icon.Height();
    BITMAPINFO info = TopDown32(width, height);
    void* bits = nullptr;
    gdi::WindowDc screen(nullptr);
    BitmapHandle color(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!color) throw std::runtime_error("CreateDIBSection failed for an icon");
    auto* out = static_cast<std::uint32_t*>(bits);
    // Monochrome rows are padded to 16 bits; a set bit is transparent.
    const int maskStride = (width + 15) / 16 * 2;
    std::vector<std::uint8_t> maskBits(std::size_t(maskStride) * std::size_t(height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t a = icon.AlphaAt(x, y);
            out[std::size_t(y) * std::size_t(width) + std::size_t(x)] =
                std::uint32_t(a) << 24 | (icon.Pixels().At(x, y) & 0xFFFFFF);
            if (a == 0) maskBits[std::size_t(y * maskStride + x / 8)] |= std::uint8_t(0x80 >> (x % 8));
        }
    ::GdiFlush();
    BitmapHandle mask(::CreateBitmap(width, height, 1, 1, maskBits.data()));
    ICONINFO made{TRUE, 0, 0, mask.Get(), color.Get()};
    IconHandle handle(::CreateIconIndirect(&made));  // copies both bitmaps
    if (!handle) throw std::runtime_error("CreateIconIndirect failed");
    return handle;
}

}  // namespace platform::win32
