// Messages as the application's message hook sees them: paints, timers and
// the notification area's callbacks.
#pragma once

#include <cstdint>

#include "gfx/Types.h"
#include "gui/DesignNames.h"

namespace gui {

constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_PAINT = 0x000F;
constexpr std::uint32_t WM_TIMER = 0x0113;
constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x0209;
constexpr std::uint32_t WM_MOUSELEAVE = 0x02A3;
constexpr std::uint32_t WM_USER = 0x0400;

using HWND = std::uintptr_t;

struct TMsg {
    HWND hwnd = 0;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    TPoint pt;  // the cursor's screen point when the message was made
};

}  // namespace gui
