// The X11 backend: one X window per form, the back buffer presented with
// XPutImage, input turned into the GUI layer's mouse input, and one poll
// over the X connection, a self-pipe for signals, the file chooser's pipe
// and the session bus (the notification area's items).
#pragma once

#include <memory>

#include "platform/Platform.h"

namespace platform {

// Opens the display named by $DISPLAY; throws std::runtime_error when there
// is none.
std::unique_ptr<Platform> CreateX11Platform();

}  // namespace platform
