#include "platform/x11/TipPlacement.h"

#include <algorithm>

namespace platform::x11 {

gfx::TPoint TipPlace(gfx::TPoint pointer, const gfx::TRect& icon, int width, int height,
                     const std::vector<gfx::TRect>& monitors) {
    gfx::TPoint at{pointer.X + 12, pointer.Y + 16};
    const gfx::TPoint centre{(icon.Left + icon.Right) / 2, (icon.Top + icon.Bottom) / 2};
    const gfx::TRect* monitor = nullptr;
    for (const gfx::TPoint& p : {centre, pointer}) {
        for (const gfx::TRect& m : monitors)
            if (m.Contains(p)) {
                monitor = &m;
                break;
            }
        if (monitor) break;
    }
    if (!monitor && !monitors.empty()) monitor = &monitors.front();
    if (!monitor) return at;
    if (at.Y + height > monitor->Bottom) at.Y = std::min(icon.Top, pointer.Y) - 2 - height;
    at.Y = std::max(at.Y, monitor->Top);
    at.X = std::max(std::min(at.X, monitor->Right - width), monitor->Left);
    return at;
}

}  // namespace platform::x11
