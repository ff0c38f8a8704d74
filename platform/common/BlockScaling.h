// Presenting a picture on a dense screen: every pixel becomes a block of
// scale x scale screen pixels, so that the picture stays exact.
#pragma once

#include "gfx/Surface.h"
#include "gfx/Types.h"

namespace platform {

// Screen pixels per logical pixel for a density in dots per inch: the
// nearest whole multiple of 96, halves upwards, at least 1 (96 -> 1,
// 120 -> 1, 144 -> 2, 192 -> 2, 240 -> 3). A density half way between two
// scales gets the larger: a picture a third too large is easier to use
// than one a third too small, and a factor of 2 is as far from 1.5 as 1 is.
inline int ScaleForDpi(int dpi) { return dpi >= 144 ? (dpi + 48) / 96 : 1; }

// A logical rectangle in screen pixels.
inline gfx::TRect ScaledRect(const gfx::TRect& r, int scale) {
    return {r.Left * scale, r.Top * scale, r.Right * scale, r.Bottom * scale};
}

// The screen pixels of `area` (logical, inside `source`) as blocks into
// `target`, which is `scale` times the size of `source`.
inline void ScaleBlocks(const gfx::TSurface& source, const gfx::TRect& area, int scale,
                        gfx::TSurface& target) {
    for (int y = area.Top * scale; y < area.Bottom * scale; ++y) {
        gfx::TPixel* row = target.Row(y);
        for (int x = area.Left * scale; x < area.Right * scale; ++x)
            row[x] = source.At(x / scale, y / scale);
    }
}

// The logical rectangle that covers a rectangle of screen pixels.
inline gfx::TRect CoveringRect(const gfx::TRect& screen, int scale) {
    return {screen.Left / scale, screen.Top / scale, (screen.Right + scale - 1) / scale,
            (screen.Bottom + scale - 1) / scale};
}

// A point of screen pixels relative to the window as logical pixels, floor
// division so that points left of or above the window stay in their block.
inline int LogicalOffset(int screenOffset, int scale) {
    return screenOffset >= 0 ? screenOffset / scale : -((-screenOffset + scale - 1) / scale);
}

}  // namespace platform
