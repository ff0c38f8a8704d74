// HICON conversions, through the real user32/GDI calls (run under Wine).
#include <gtest/gtest.h>

#include <vector>

#include "gfx/Graphics.h"
#include "platform/win32/Win32Icons.h"

namespace {

using platform::win32::HandleFromIcon;
using platform::win32::IconFromHandle;

// A 32 x 32 picture with every alpha kind: opaque, transparent, and half.
gfx::TIcon Sample() {
    gfx::TSurface pixels(32, 32);
    std::vector<std::uint8_t> alpha(32 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            pixels.Put(x, y, gfx::TPixel(x * 8) << 16 | gfx::TPixel(y * 8) << 8 | 0x40);
            alpha[std::size_t(y * 32 + x)] = x < 10 ? 0 : x < 20 ? 255 : 128;
        }
    return gfx::TIcon(std::move(pixels), std::move(alpha));
}

TEST(Win32Icons, AnIconSurvivesTheWayThroughAnHicon) {
    const gfx::TIcon icon = Sample();
    auto handle = HandleFromIcon(icon);
    ASSERT_TRUE(handle);
    const gfx::TIcon back = IconFromHandle(handle.Get());
    ASSERT_EQ(back.Width(), 32);
    ASSERT_EQ(back.Height(), 32);
    EXPECT_EQ(back.Alpha(), icon.Alpha());
    for (int y = 0; y < 32; ++y)
        for (int x = 10; x < 32; ++x)  // colours of transparent pixels do not matter
            ASSERT_EQ(back.Pixels().At(x, y), icon.Pixels().At(x, y)) << x << "," << y;
}

// An icon without alpha in its colour bitmap (the classic 16-colour kind)
// takes its transparency from the mask.
TEST(Win32Icons, AnIconWithoutAlphaIsTransparentWhereItsMaskIsSet) {
    const int size = 16;
    std::vector<std::uint8_t> andMask(std::size_t(size * size / 8), 0);
    std::vector<std::uint8_t> xorBits(std::size_t(size * size * 4), 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            if (y < 8) andMask[std::size_t(y * 2 + x / 8)] |= std::uint8_t(0x80 >> (x % 8));
            xorBits[std::size_t((y * size + x) * 4 + 2)] = 0xFF;  // red, alpha 0
        }
    HICON raw = ::CreateIcon(nullptr, size, size, 1, 32, andMask.data(), xorBits.data());
    ASSERT_NE(raw, nullptr);
    platform::win32::IconHandle icon(raw);
    const gfx::TIcon back = IconFromHandle(icon.Get());
    EXPECT_EQ(back.AlphaAt(3, 2), 0);
    EXPECT_EQ(back.AlphaAt(3, 12), 255);
    EXPECT_EQ(back.Pixels().At(3, 12), 0xFF0000u);
}

}  // namespace
