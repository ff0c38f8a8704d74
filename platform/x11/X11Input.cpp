#include "platform/x11/X11Input.h"

#include <X11/X.h>

#include <cstdint>

namespace platform::x11 {

std::optional<gui::TMouseButton> ButtonOf(unsigned xbutton) {
    switch (xbutton) {
        case Button1: return gui::mbLeft;
        case Button2: return gui::mbMiddle;
        case Button3: return gui::mbRight;
        default: return std::nullopt;  // wheel and extra buttons
    }
}

gui::TShiftState ShiftOf(unsigned state) {
    gui::TShiftState s = 0;
    if (state & ShiftMask) s |= gui::ssShift;
    if (state & ControlMask) s |= gui::ssCtrl;
    if (state & Mod1Mask) s |= gui::ssAlt;
    if (state & Button1Mask) s |= gui::ssLeft;
    if (state & Button2Mask) s |= gui::ssMiddle;
    if (state & Button3Mask) s |= gui::ssRight;
    return s;
}

gui::TPoint LogicalPoint(gui::TPoint physical, int scale) {
    const std::int64_t s = scale >= 1 ? scale : 1;
    auto down = [s](std::int64_t v) { return int(v >= 0 ? v / s : -((-v + s - 1) / s)); };
    return {down(physical.X), down(physical.Y)};
}

}  // namespace platform::x11
