// The Wayland backend of a build made without the Wayland libraries: it is
// never available, and the program runs on X11.
#include "platform/wayland/WaylandPlatform.h"

namespace platform {

std::unique_ptr<Platform> CreateWaylandPlatform(std::unique_ptr<posix::SignalWatch>&) {
    throw WaylandUnavailable("this build has no Wayland backend");
}

}  // namespace platform
