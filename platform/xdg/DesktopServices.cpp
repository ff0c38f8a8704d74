#include "platform/xdg/DesktopServices.h"

#include "platform/xdg/SettingsLocation.h"
#include "platform/xdg/icons/IconSearchPaths.h"
#include "platform/xdg/launch/FileChooser.h"

namespace platform::xdg {

DesktopServices::DesktopServices() : icons_(IconSearchPaths::FromEnvironment(), gio_) {}

std::unique_ptr<FileDialogSession> DesktopServices::BeginOpenFileDialog(
    const OpenFileRequest& request) {
    return FileChooser::Begin(children_, request);
}

std::vector<int> DesktopServices::WatchedFds() const {
    return {children_.OutputFds().begin(), children_.OutputFds().end()};
}

std::string DesktopServices::SettingsFile(const std::string& executable) const {
    return SettingsFileFor(executable);
}

}  // namespace platform::xdg
