// The X11 backend: one X window per form, the back buffer presented with
// XPutImage, input turned into the GUI layer's mouse input, and one poll
// over the X connection, a self-pipe for signals, the file chooser's pipe
// and the session bus (the notification area's items).
#pragma once

#include <memory>

#include "platform/Platform.h"
#include "platform/posix/SignalWatch.h"

namespace platform {

// Opens the display named by $DISPLAY; throws std::runtime_error when there
// is none. `signals` was made as the first thing the program did, so that a
// termination signal in any moment of start-up is acted on, not fatal.
std::unique_ptr<Platform> CreateX11Platform(std::unique_ptr<posix::SignalWatch> signals);

}  // namespace platform
