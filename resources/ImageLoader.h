// Turns embedded images into the GUI layer's bitmaps and icons.
#pragma once

#include "gfx/Graphics.h"
#include "resources/EmbeddedImage.h"

namespace resources {

// An 8-bit bitmap with the image's palette; transparent entries are black.
gfx::TBitmap ToBitmap(const EmbeddedImage& image);

// An icon whose transparent palette entries get alpha 0 and all others 255.
gfx::TIcon ToIcon(const EmbeddedImage& image);

}  // namespace resources
