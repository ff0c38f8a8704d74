// The pictures a StatusNotifierItem gives the panel.
#include <gtest/gtest.h>

#include <vector>

#include "platform/xdg/tray/StatusIconPixmaps.h"

namespace platform::xdg {
namespace {

TEST(StatusIconPixmaps, TheIconsOwnSizeIsKeptExactlyAsNetworkOrderArgbBesideThePanelSizes) {
    gfx::TSurface pixels(32, 32, gfx::PixelFromRgb(0x12, 0x34, 0x56));
    std::vector<std::uint8_t> alpha(32 * 32, 255);
    pixels.Set(1, 0, 0xFFFFFF);
    alpha[1] = 0;    // transparent: no colour
    alpha[2] = 128;  // half: its colour unchanged (not premultiplied)
    const auto pixmaps = StatusIconPixmaps(gfx::TIcon(pixels, alpha));
    std::vector<int> sizes;
    for (const auto& p : pixmaps) {
        EXPECT_EQ(p.Width, p.Height);
        EXPECT_EQ(p.Argb.size(), std::size_t(p.Width) * p.Height * 4);
        sizes.push_back(p.Width);
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 22, 24, 32, 48}));
    const auto& own = pixmaps[3].Argb;
    EXPECT_EQ(std::vector<std::uint8_t>(own.begin(), own.begin() + 12),
              (std::vector<std::uint8_t>{255, 0x12, 0x34, 0x56, 0, 0, 0, 0, 128, 0x12, 0x34, 0x56}));
    // A uniform picture stays uniform when scaled (a wrong byte order or
    // stride would show here).
    const auto& small = pixmaps[1].Argb;  // 22 x 22
    EXPECT_EQ(std::vector<std::uint8_t>(small.end() - 4, small.end()),
              (std::vector<std::uint8_t>{255, 0x12, 0x34, 0x56}));
}

TEST(StatusIconPixmaps, AnIconAtAPanelSizeIsNotGivenTwiceAndAnEmptyOneGivesNone) {
    const gfx::TIcon icon(gfx::TSurface(16, 16, 0), std::vector<std::uint8_t>(256, 255));
    std::vector<int> sizes;
    for (const auto& p : StatusIconPixmaps(icon)) sizes.push_back(p.Width);
    EXPECT_EQ(sizes, (std::vector<int>{16, 22, 24, 48}));
    EXPECT_TRUE(StatusIconPixmaps(gfx::TIcon()).empty());
}

}  // namespace
}  // namespace platform::xdg
