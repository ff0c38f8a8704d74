// Pixel comparison for canvas tests: exact pictures, and small pictures
// written as text grids.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/Surface.h"

namespace testsupport {

// Succeeds when both surfaces have the same size and pixels. Otherwise the
// message gives the number of differing pixels and the first few as
// (x, y) expected/got, and <name>-actual.png, -expected.png and -diff.png
// (differences red on a dimmed copy of the expected picture) are written to
// the test's temporary directory.
::testing::AssertionResult SamePixels(const gfx::TSurface& expected, const gfx::TSurface& actual,
                                      const std::string& name);

// The surface as rows of characters, one per pixel, from `legend`
// (pixel -> character); pixels missing from the legend show as '?'.
std::vector<std::string> Grid(const gfx::TSurface& surface,
                              const std::map<gfx::TPixel, char>& legend);

// The rows of a picture written as a raw string, one text line per row; the
// line break right after the opening quote is not a row.
std::vector<std::string> Rows(std::string_view picture);

}  // namespace testsupport
