#include "tests/support/PixelDiff.h"

#include <algorithm>
#include <exception>
#include <cstdio>
#include <sstream>

#include "platform/png/PngFile.h"

namespace testsupport {

namespace {

std::string Hex(gfx::TPixel p) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", unsigned(p & 0xFFFFFF));
    return text;
}

gfx::TSurface DiffPicture(const gfx::TSurface& expected, const gfx::TSurface& actual) {
    gfx::TSurface diff(expected.Width(), expected.Height());
    for (int y = 0; y < diff.Height(); ++y) {
        for (int x = 0; x < diff.Width(); ++x) {
            const gfx::TPixel e = expected.At(x, y);
            const unsigned grey = (((e >> 16) & 0xFF) + ((e >> 8) & 0xFF) + (e & 0xFF)) / 6 + 128;
            diff.Set(x, y, actual.Get(x, y) == e ? gfx::PixelFromRgb(grey, grey, grey) : 0xFF0000);
        }
    }
    return diff;
}

void WritePictures(const gfx::TSurface& expected, const gfx::TSurface& actual,
                   const std::string& name) {
    const std::string base = ::testing::TempDir() + name;
    if (!actual.Empty()) platform::WritePng(base + "-actual.png", actual);
    if (!expected.Empty()) {
        platform::WritePng(base + "-expected.png", expected);
        platform::WritePng(base + "-diff.png", DiffPicture(expected, actual));
    }
}

}  // namespace

::testing::AssertionResult SamePixels(const gfx::TSurface& expected, const gfx::TSurface& actual,
                                      const std::string& name) {
    if (expected.Width() != actual.Width() || expected.Height() != actual.Height()) {
        return ::testing::AssertionFailure()
               << name << ": size " << actual.Width() << "x" << actual.Height() << ", expected "
               << expected.Width() << "x" << expected.Height();
    }
    int count = 0;
    std::ostringstream first;
    for (int y = 0; y < expected.Height(); ++y) {
        for (int x = 0; x < expected.Width(); ++x) {
            if (expected.At(x, y) == actual.At(x, y)) continue;
            if (++count <= 8)
                first << "\n  (" << x << ", " << y << ") expected " << Hex(expected.At(x, y))
                      << " got " << Hex(actual.At(x, y));
        }
    }
    if (count == 0) return ::testing::AssertionSuccess();
    std::string where = "pictures in " + ::testing::TempDir();
    try {
        WritePictures(expected, actual, name);
    } catch (const std::exception& e) {
        where = e.what();  // a build without PNG support: the text must do
    }
    return ::testing::AssertionFailure() << name << ": " << count << " pixels differ (" << where
                                         << ")" << first.str();
}

std::vector<std::string> Grid(const gfx::TSurface& surface,
                              const std::map<gfx::TPixel, char>& legend) {
    std::vector<std::string> rows;
    for (int y = 0; y < surface.Height(); ++y) {
        std::string row;
        for (int x = 0; x < surface.Width(); ++x) {
            const auto it = legend.find(surface.At(x, y));
            row += it == legend.end() ? '?' : it->second;
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> Rows(std::string_view picture) {
    if (picture.starts_with('\n')) picture.remove_prefix(1);
    std::vector<std::string> rows;
    while (!picture.empty()) {
        const std::size_t end = std::min(picture.find('\n'), picture.size());
        rows.emplace_back(picture.substr(0, end));
        picture.remove_prefix(std::min(end + 1, picture.size()));
    }
    return rows;
}

}  // namespace testsupport
