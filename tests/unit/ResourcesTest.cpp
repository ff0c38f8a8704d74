#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>

#include "resources/ImageLoader.h"
#include "resources/Images.h"

namespace resources {
namespace {

constexpr std::uint32_t kCyan = 0x00FFFF;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlue = 0x0033CC;
constexpr std::uint32_t kBlack = 0x000000;

// The raised cell face: cyan with a white line along row 1 and column 1
// (1..33), a blue line along row 34 and column 34 (1..34) and black along
// row 35 and column 35.
std::uint32_t RaisedFace(int x, int y) {
    if (x == 35 || y == 35) return kBlack;
    if ((y == 34 && x >= 1) || (x == 34 && y >= 1)) return kBlue;
    if ((y == 1 && x >= 1) || (x == 1 && y >= 1)) return kWhite;
    return kCyan;
}

::testing::Message At(int x, int y) { return ::testing::Message() << '(' << x << ", " << y << ')'; }

TEST(CellStrip, RaisedFaceOverPressedFace) {
    ASSERT_EQ(kCellStrip.Width, 36);
    ASSERT_EQ(kCellStrip.Height, 72);
    for (int y = 0; y < 72; ++y) {
        for (int x = 0; x < 36; ++x) {
            const std::uint32_t expected = y < 36 ? RaisedFace(x, y) : kCyan;
            ASSERT_EQ(kCellStrip.At(x, y).Pixel, expected) << At(x, y);
            ASSERT_FALSE(kCellStrip.At(x, y).Transparent) << At(x, y);
        }
    }
}

// The ends of the bevel lines, where an off-by-one would show.
TEST(CellStrip, BevelLineEnds) {
    EXPECT_EQ(kCellStrip.At(0, 0).Pixel, kCyan);
    EXPECT_EQ(kCellStrip.At(1, 1).Pixel, kWhite);
    EXPECT_EQ(kCellStrip.At(33, 1).Pixel, kWhite);
    EXPECT_EQ(kCellStrip.At(1, 33).Pixel, kWhite);
    EXPECT_EQ(kCellStrip.At(34, 1).Pixel, kBlue);
    EXPECT_EQ(kCellStrip.At(1, 34).Pixel, kBlue);
    EXPECT_EQ(kCellStrip.At(34, 34).Pixel, kBlue);
    EXPECT_EQ(kCellStrip.At(34, 0).Pixel, kCyan);
    EXPECT_EQ(kCellStrip.At(0, 34).Pixel, kCyan);
    EXPECT_EQ(kCellStrip.At(35, 0).Pixel, kBlack);
    EXPECT_EQ(kCellStrip.At(0, 35).Pixel, kBlack);
}

TEST(CellStrip, LoadsAsAnEightBitBitmap) {
    const gfx::TBitmap bitmap = ToBitmap(kCellStrip);
    ASSERT_EQ(bitmap.Width(), 36);
    ASSERT_EQ(bitmap.Height(), 72);
    EXPECT_EQ(bitmap.PixelFormat(), gfx::pf8bit);
    EXPECT_EQ(bitmap.Palette().size(), kCellStrip.Palette.size());
    for (int y = 0; y < 72; ++y) {
        for (int x = 0; x < 36; ++x) ASSERT_EQ(bitmap.Surface().At(x, y), kCellStrip.At(x, y).Pixel) << At(x, y);
    }
}

struct TIconCase {
    const char* Name;
    const EmbeddedImage* Image;
};
void PrintTo(const TIconCase& icon, std::ostream* out) { *out << icon.Name; }

class Icons : public ::testing::TestWithParam<TIconCase> {};

TEST_P(Icons, AreThirtyTwoSquareWithTransparentCornersAndAPicture) {
    const EmbeddedImage& image = *GetParam().Image;
    ASSERT_EQ(image.Width, 32);
    ASSERT_EQ(image.Height, 32);
    EXPECT_LE(image.Palette.size(), 16u);
    for (const auto& [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}}) {
        EXPECT_TRUE(image.At(x, y).Transparent) << At(x, y);
    }
    int opaque = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) opaque += image.At(x, y).Transparent ? 0 : 1;
    }
    EXPECT_GT(opaque, 32) << "the icon shows next to nothing";
}

TEST_P(Icons, LoadAsIconsWithAlphaFromTransparency) {
    const EmbeddedImage& image = *GetParam().Image;
    const gfx::TIcon icon = ToIcon(image);
    ASSERT_EQ(icon.Width(), 32);
    ASSERT_EQ(icon.Height(), 32);
    EXPECT_NE(icon.Handle(), 0u);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const EmbeddedColor& color = image.At(x, y);
            ASSERT_EQ(icon.AlphaAt(x, y), color.Transparent ? 0 : 255) << At(x, y);
            if (!color.Transparent) {
                ASSERT_EQ(icon.Pixels().At(x, y), color.Pixel) << At(x, y);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Resources, Icons,
                         ::testing::Values(TIconCase{"Heart", &kHeart}, TIconCase{"Bar", &kBar},
                                           TIconCase{"SlantedA", &kSlantedA},
                                           TIconCase{"MainIcon", &kMainIcon}),
                         [](const auto& info) { return std::string(info.param.Name); });

// The default slot icon and the tray icon: a blue outline, hollow inside.
TEST(Heart, IsABlueOutline) {
    int blue = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) blue += kHeart.At(x, y).Pixel == kBlue ? 1 : 0;
    }
    EXPECT_GT(blue, 64);
    EXPECT_TRUE(kHeart.At(16, 16).Transparent) << "the heart is an outline, not a filled shape";
}

}  // namespace
}  // namespace resources
