// Owners of the X resources the backend creates, and the one way a surface
// reaches a drawable. Each owner frees its resource on the display it was
// made on, once; moving hands the resource over.
#pragma once

#include <X11/Xlib.h>

#include <utility>

#include "gfx/Surface.h"
#include "gfx/Types.h"

namespace platform::x11 {

template <class Handle, int (*Free)(Display*, Handle)>
class XOwned {
public:
    XOwned() = default;
    XOwned(Display* display, Handle handle) : display_(display), handle_(handle) {}
    ~XOwned() { Reset(); }
    XOwned(XOwned&& other) noexcept
        : display_(other.display_), handle_(std::exchange(other.handle_, Handle{})) {}
    XOwned& operator=(XOwned&& other) noexcept {
        if (this != &other) {
            Reset();
            display_ = other.display_;
            handle_ = std::exchange(other.handle_, Handle{});
        }
        return *this;
    }
    XOwned(const XOwned&) = delete;
    XOwned& operator=(const XOwned&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    void Reset() {
        if (handle_ != Handle{}) Free(display_, std::exchange(handle_, Handle{}));
    }

private:
    Display* display_ = nullptr;
    Handle handle_{};
};

using WindowOwner = XOwned<Window, XDestroyWindow>;
using GcOwner = XOwned<GC, XFreeGC>;
using ColormapOwner = XOwned<Colormap, XFreeColormap>;

// Where and how a drawable takes 32-bit pixels.
struct DrawableTarget {
    Display* display = nullptr;
    Drawable drawable = 0;
    GC gc = nullptr;
    Visual* visual = nullptr;
    int depth = 24;
};

// Puts `area` of the surface on the drawable at the same place, without
// copying the pixels: the image borrows the surface's memory for the call.
void PutSurface(const DrawableTarget& target, const gfx::TSurface& surface, const gfx::TRect& area);

}  // namespace platform::x11
