#include "platform/x11/X11Services.h"

#include "platform/xdg/launch/FileChooser.h"
#include "platform/xdg/icons/IconSearchPaths.h"
#include "platform/xdg/SettingsLocation.h"

namespace platform::x11 {

X11Services::X11Services() : icons_(xdg::IconSearchPaths::FromEnvironment(), gio_) {}

std::unique_ptr<FileDialogSession> X11Services::BeginOpenFileDialog(
    const OpenFileRequest& request) {
    return xdg::FileChooser::Begin(children_, request);
}

std::vector<int> X11Services::WatchedFds() const {
    return {children_.OutputFds().begin(), children_.OutputFds().end()};
}

std::string X11Services::SettingsFile(const std::string& executable) const {
    return xdg::SettingsFileFor(executable);
}

}  // namespace platform::x11
