// The pictures a StatusNotifierItem hands to the panel: the icon at its own
// size and at the sizes panels draw (16, 22, 24 and 48), each as ARGB32 in
// network byte order (A, R, G, B bytes per pixel, not premultiplied), so
// that no panel has to scale a 32-pixel picture to 22 itself.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/Graphics.h"

namespace platform::xdg {

struct StatusIconPixmap {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Argb;  // Width * Height * 4 bytes
};

// Smallest first, one per size; none for an empty icon.
std::vector<StatusIconPixmap> StatusIconPixmaps(const gfx::TIcon& icon);

}  // namespace platform::xdg
