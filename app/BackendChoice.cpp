#include "app/BackendChoice.h"

namespace app {

std::optional<TBackendWish> WishedBackend(std::string_view forced, bool waylandDisplayNamed) {
    if (forced == "x11") return TBackendWish::X11;
    if (forced == "wayland") return TBackendWish::Wayland;
    if (!forced.empty()) return std::nullopt;
    return waylandDisplayNamed ? TBackendWish::TryWayland : TBackendWish::X11;
}

}  // namespace app
