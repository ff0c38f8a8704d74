#include "platform/x11/X11Input.h"

#include <X11/X.h>

#include <cstdint>

namespace platform::x11 {

std::optional<gfx::TMouseButton> ButtonOf(unsigned xbutton) {
    switch (xbutton) {
        case Button1: return gfx::mbLeft;
        case Button2: return gfx::mbMiddle;
        case Button3: return gfx::mbRight;
        default: return std::nullopt;  // wheel and extra buttons
    }
}

gfx::TShiftState ShiftOf(unsigned state) {
    gfx::TShiftState s = 0;
    if (state & ShiftMask) s |= gfx::ssShift;
    if (state & ControlMask) s |= gfx::ssCtrl;
    if (state & Mod1Mask) s |= gfx::ssAlt;
    if (state & Button1Mask) s |= gfx::ssLeft;
    if (state & Button2Mask) s |= gfx::ssMiddle;
    if (state & Button3Mask) s |= gfx::ssRight;
    return s;
}

gfx::TPoint LogicalPoint(gfx::TPoint physical, int scale) {
    const std::int64_t s = scale >= 1 ? scale : 1;
    auto down = [s](std::int64_t v) { return int(v >= 0 ? v / s : -((-v + s - 1) / s)); };
    return {down(physical.X), down(physical.Y)};
}

}  // namespace platform::x11
