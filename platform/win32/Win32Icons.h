// Icons between the GUI layer's TIcon (pixels and 8-bit alpha) and HICON.
#pragma once

#include "gfx/Graphics.h"
#include "platform/win32/Win32Handles.h"

namespace platform::win32 {

// The icon's pixels and transparency: from the colour bitmap's alpha where
// the icon has one (32-bit icons), otherwise from its mask. The handle stays
// the caller's.
gfx::TIcon IconFromHandle(HICON icon);

// A new HICON with the icon's picture: a 32-bit colour bitmap carrying the
// alpha, and a mask for the fully transparent pixels (for the places that
// draw with the mask alone).
IconHandle HandleFromIcon(const gfx::TIcon& icon);

}  // namespace platform::win32
