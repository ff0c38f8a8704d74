// The Wayland backend: every form a layer surface placed at its bounds in
// the global layout, pictures through shared memory at the outputs'
// whole-number scales, the seat's input turned into the GUI layer's, and
// one poll over the Wayland socket, a self-pipe for signals, the file
// chooser's pipe, the running copy's socket and the session bus.
#pragma once

#include <memory>
#include <stdexcept>

#include "platform/Platform.h"
#include "platform/posix/SignalWatch.h"

namespace platform {

// The compositor cannot be reached, or does not offer the layer shell (the
// desktop then runs the program through Xwayland).
class WaylandUnavailable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Connects to the compositor named by $WAYLAND_DISPLAY. On success takes
// `signals` (made as the first thing the program did); throws
// WaylandUnavailable and leaves `signals` where it was when the compositor
// cannot be reached or offers no layer shell.
std::unique_ptr<Platform> CreateWaylandPlatform(std::unique_ptr<posix::SignalWatch>& signals);

}  // namespace platform
