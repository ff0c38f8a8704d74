// Which Linux backend a start tries: SORIMO_BACKEND=x11 or =wayland forces
// one; without it the Wayland backend is tried when a Wayland display is
// named (WAYLAND_DISPLAY), and X11 is used when that compositor offers no
// layer shell or the build has no Wayland backend.
#pragma once

#include <optional>
#include <string_view>

namespace app {

enum class TBackendWish {
    X11,         // X11 only
    Wayland,     // Wayland only: an error when it cannot be had
    TryWayland,  // Wayland where usable, else X11
};

// `forced` is SORIMO_BACKEND's value (empty when unset). Nothing for a value
// that names no backend.
std::optional<TBackendWish> WishedBackend(std::string_view forced, bool waylandDisplayNamed);

}  // namespace app
