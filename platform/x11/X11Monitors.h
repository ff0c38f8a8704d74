// The monitors of the X screen (internal to the backend): RandR 1.5's
// monitor list where the server has one, else Xinerama's screens, else the
// whole root window; in screen pixels, the primary monitor first (the one
// RandR marks primary, else the first listed). Layout changes are heard as
// RandR notices and as the ConfigureNotify the server sends the root window
// when monitors are defined or deleted. Xinerama's library is loaded only
// for the fallback, on a server without RandR 1.5, not at every start.
#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <vector>

#include "gfx/Types.h"

namespace platform::x11 {

class X11Monitors {
public:
    // Asks the server which extensions it has and selects the change
    // notices on `root` (adding to the events selected there already).
    X11Monitors(Display* display, Window root);
    X11Monitors(const X11Monitors&) = delete;
    X11Monitors& operator=(const X11Monitors&) = delete;

    // The monitors now, never empty.
    std::vector<gfx::TRect> Query() const;
    // True for an event after which the layout may differ; keeps Xlib's
    // idea of the screen size up to date.
    bool IsLayoutEvent(XEvent& e) const;

private:
    std::vector<gfx::TRect> FromRandR() const;
    std::vector<gfx::TRect> FromXinerama() const;

    struct LibraryCloser {
        void operator()(void* handle) const;
    };

    Display* display_;
    Window root_;
    bool randr_ = false;       // RandR 1.2 or later: change notices
    bool randrList_ = false;   // RandR 1.5 or later: the monitor list
    int randrEventBase_ = 0;
    mutable std::unique_ptr<void, LibraryCloser> xinerama_;
};

}  // namespace platform::x11
