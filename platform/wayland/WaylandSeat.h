// The seat's pointer and keyboard (internal to the backend): pointer
// events become the GUI layer's mouse input at points of the global layout,
// keys on a box that holds the keyboard become its key input (through the
// seat's keymap, libxkbcommon), and the pointer shows the cursor theme's
// arrow over our surfaces.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "platform/Platform.h"
#include "platform/common/DoubleClickTracker.h"
#include "platform/wayland/WaylandHandles.h"
#include "platform/wayland/WaylandWindow.h"

namespace platform::wayland {

class WaylandSeat {
public:
    // The window a surface belongs to, or null.
    using Find = std::function<WaylandWindow*(wl_surface*)>;

    WaylandSeat(Context& context, wl_seat* seat, Find find);
    ~WaylandSeat();
    WaylandSeat(const WaylandSeat&) = delete;
    WaylandSeat& operator=(const WaylandSeat&) = delete;

    // The last point the pointer was seen at over one of our surfaces.
    std::optional<TPoint> LastPoint() const { return lastPoint_; }
    wl_seat* Proxy() const { return seat_.get(); }
    // A surface is going: its events, focus and hover are forgotten.
    void Forget(wl_surface* surface);

    // Event handlers (called by libwayland).
    void Capabilities(std::uint32_t caps);
    void PointerEnter(std::uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y);
    void PointerLeave(wl_surface* surface);
    void PointerMotion(wl_fixed_t x, wl_fixed_t y);
    void PointerButton(std::uint32_t time, std::uint32_t button, std::uint32_t state);
    void Keymap(std::uint32_t format, int fd, std::uint32_t size);
    void KeyboardEnter(wl_surface* surface);
    void KeyboardLeave(wl_surface* surface);
    void Key(std::uint32_t key, std::uint32_t state);
    void Modifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked,
                   std::uint32_t group);

private:
    void Send(MouseInput input);
    void SetCursor(std::uint32_t serial, int scale);
    gfx::TShiftState Shift() const;
    TPoint Point(wl_fixed_t x, wl_fixed_t y) const;

    Context& context_;
    Owned<wl_seat> seat_;
    Find find_;
    Owned<wl_pointer> pointer_;
    Owned<wl_keyboard> keyboard_;
    Owned<xkb_context> xkb_;
    Owned<xkb_keymap> keymap_;
    Owned<xkb_state> keyState_;
    // One cursor theme per scale it was asked at.
    std::map<int, Owned<wl_cursor_theme>> themes_;
    Owned<wl_surface> cursorSurface_;
    wl_surface* hovered_ = nullptr;  // the surface the pointer is over
    wl_surface* focused_ = nullptr;  // the surface holding the keyboard
    wl_fixed_t lastX_ = 0, lastY_ = 0;
    std::optional<TPoint> lastPoint_;
    gfx::TShiftState buttons_ = 0;
    // While a button is held the compositor reports positions relative to
    // where the surface was at the press (wlroots' grab), also after the
    // surface moved: dragging the launcher moves it under a fixed frame.
    std::optional<TPoint> grabOrigin_;
    DoubleClickTracker doubleClicks_;
};

}  // namespace platform::wayland
