// Where the tip of an XEmbed tray icon opens.
#pragma once

#include <vector>

#include "gfx/Types.h"

namespace platform::x11 {

// The tip's top-left corner: 12 right of and 16 below the pointer, on the
// monitor that holds the icon (else the pointer's, else the first), moved
// left to fit, and above the icon when it does not fit below (a panel at
// the bottom edge). All in screen pixels.
gfx::TPoint TipPlace(gfx::TPoint pointer, const gfx::TRect& icon, int width, int height,
                     const std::vector<gfx::TRect>& monitors);

}  // namespace platform::x11
