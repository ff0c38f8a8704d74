#include "platform/wayland/WaylandConversions.h"

#include <linux/input-event-codes.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include <algorithm>

namespace platform::wayland {

std::optional<gfx::TMouseButton> ButtonOf(std::uint32_t code) {
    switch (code) {
        case BTN_LEFT: return gfx::mbLeft;
        case BTN_RIGHT: return gfx::mbRight;
        case BTN_MIDDLE: return gfx::mbMiddle;
        default: return std::nullopt;
    }
}

std::optional<Key> KeyOf(std::uint32_t keysym) {
    switch (keysym) {
        case XKB_KEY_Return: return Key::Return;
        case XKB_KEY_KP_Enter: return Key::KeypadEnter;
        case XKB_KEY_space: return Key::Space;
        case XKB_KEY_Escape: return Key::Escape;
        default: return std::nullopt;
    }
}

gfx::TPoint ScreenPoint(gfx::TPoint origin, std::int32_t fixedX, std::int32_t fixedY) {
    // An arithmetic shift rounds towards minus infinity: -0.5 is pixel -1.
    auto pixel = [](std::int32_t fixed) { return int(fixed >> 8); };
    return {origin.X + pixel(fixedX), origin.Y + pixel(fixedY)};
}

std::size_t OutputFor(const std::vector<gfx::TRect>& outputs, const gfx::TRect& bounds) {
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const gfx::TRect& o = outputs[i];
        if (bounds.Left >= o.Left && bounds.Left < o.Right && bounds.Top >= o.Top && bounds.Top < o.Bottom)
            return i;
    }
    std::size_t best = 0;
    long long bestArea = 0;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const gfx::TRect overlap = gfx::Intersect(outputs[i], bounds);
        const long long area = (long long)overlap.Width() * overlap.Height();
        if (area > bestArea) {
            bestArea = area;
            best = i;
        }
    }
    return best;
}

}  // namespace platform::wayland
