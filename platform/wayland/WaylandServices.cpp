#include "platform/wayland/WaylandServices.h"

#include "platform/xdg/launch/FileChooser.h"
#include "platform/xdg/icons/IconSearchPaths.h"
#include "platform/xdg/SettingsLocation.h"

namespace platform::wayland {

WaylandServices::WaylandServices() : icons_(xdg::IconSearchPaths::FromEnvironment(), gio_) {}

std::unique_ptr<FileDialogSession> WaylandServices::BeginOpenFileDialog(
    const OpenFileRequest& request) {
    return xdg::FileChooser::Begin(children_, request);
}

std::vector<int> WaylandServices::WatchedFds() const {
    return {children_.OutputFds().begin(), children_.OutputFds().end()};
}

std::string WaylandServices::SettingsFile(const std::string& executable) const {
    return xdg::SettingsFileFor(executable);
}

}  // namespace platform::wayland
