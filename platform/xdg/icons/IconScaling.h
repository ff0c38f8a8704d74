// Bringing a decoded icon picture to the size a cell shows.
#pragma once

#include "gfx/Graphics.h"
#include "platform/png/PngFile.h"

namespace platform::xdg {

// The picture as a size x size icon. Each target pixel is the average of
// the source area it covers (partly covered pixels count by their share),
// weighted by alpha so that the colour of transparent pixels never bleeds
// into an edge. Exact integer arithmetic: the same picture always gives
// the same icon. An empty picture gives an empty icon.
gfx::TIcon ScaleIcon(const PngPicture& picture, int size);

}  // namespace platform::xdg
