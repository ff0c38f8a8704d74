// Conversions between Wayland's terms and the GUI layer's: buttons, keys,
// pointer positions, and where a window of the global layout sits on which
// output. Pure functions, free of protocol objects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "gfx/Types.h"
#include "platform/Platform.h"

namespace platform::wayland {

// The button of a Linux input button code; none for extra buttons.
std::optional<gfx::TMouseButton> ButtonOf(std::uint32_t code);

// The key of a keysym, for the keys the program's boxes answer to.
std::optional<Key> KeyOf(std::uint32_t keysym);

// A surface-local pointer position (24.8 fixed point) on a surface whose
// top-left corner lies at `origin` of the global layout: the pixel that
// holds it, rounded down also left of and above the surface.
gfx::TPoint ScreenPoint(gfx::TPoint origin, std::int32_t fixedX, std::int32_t fixedY);

// The output a window at `bounds` belongs to: the one holding its top-left
// corner, else the one it overlaps most, else the first. `outputs` are the
// outputs' logical rectangles, never empty.
std::size_t OutputFor(const std::vector<gfx::TRect>& outputs, const gfx::TRect& bounds);

}  // namespace platform::wayland
