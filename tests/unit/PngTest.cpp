// PNG files: a written picture reads back pixel for pixel; failures name
// the file.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/png/PngFile.h"

namespace {

using gfx::TSurface;

TEST(Png, WrittenPictureReadsBackExactly) {
    TSurface picture(7, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            picture.Set(x, y, gfx::TPixel(x * 0x250000 + y * 0x007F00 + (x ^ y) * 0x21));
    const std::string path = ::testing::TempDir() + "png-round-trip.png";
    platform::WritePng(path, picture);
    EXPECT_EQ(platform::ReadPng(path), picture);
}

TEST(Png, ReadsTheReferencePictures) {
    const TSurface s = platform::ReadPng(std::string(SORIMO_TEST_DATA) +
                                         "/gdi-reference/fillrect_setpixel_12x10.png");
    EXPECT_EQ(s.Width(), 12);
    EXPECT_EQ(s.Height(), 10);
    EXPECT_EQ(s.At(0, 0), 0xFF0000u);
    EXPECT_EQ(s.At(2, 2), 0x0000FFu);
    EXPECT_EQ(s.At(10, 0), 0xFF00FFu);
}

TEST(Png, FailuresThrowWithThePath) {
    const std::string missing = ::testing::TempDir() + "no-such-picture.png";
    try {
        platform::ReadPng(missing);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    }
    EXPECT_THROW(platform::ReadPng(std::string(SORIMO_TEST_DATA) + "/gdi-reference/manifest.json"),
                 std::runtime_error);
    EXPECT_THROW(platform::WritePng(::testing::TempDir() + "empty.png", TSurface()),
                 std::runtime_error);
    EXPECT_THROW(platform::WritePng(missing + "/inside-a-file.png", TSurface(1, 1)),
                 std::runtime_error);
}

}  // namespace
