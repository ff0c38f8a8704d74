// Conversions of X input to the GUI layer's terms: buttons, modifier
// states, and screen points in logical pixels at the screen scale.
#pragma once

#include <optional>

#include "gfx/Types.h"

namespace platform::x11 {

// The button of an X button number; none for the wheel and extra buttons.
std::optional<gfx::TMouseButton> ButtonOf(unsigned xbutton);

// The shift state of an X modifier and button mask.
gfx::TShiftState ShiftOf(unsigned state);

// A screen point in physical pixels to logical ones: floor division by the
// scale, so that a negative coordinate stays in its block; defined for
// every int.
gfx::TPoint LogicalPoint(gfx::TPoint physical, int scale);

}  // namespace platform::x11
