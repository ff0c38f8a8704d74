#include "platform/x11/X11Services.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "gui/IniFile.h"
#include "platform/linux/FileChooser.h"
#include "platform/linux/IconSearchPaths.h"

namespace platform::x11 {

namespace fs = std::filesystem;

X11Services::X11Services() : icons_(xdg::IconSearchPaths::FromEnvironment(), gio_) {}

std::unique_ptr<FileDialogSession> X11Services::BeginOpenFileDialog(
    const OpenFileRequest& request) {
    return xdg::FileChooser::Begin(children_, request);
}

std::vector<int> X11Services::WatchedFds() const {
    return {children_.OutputFds().begin(), children_.OutputFds().end()};
}

std::string X11Services::SettingsFile(const std::string& executable) const {
    const std::string beside = gui::SettingsFileName(executable, "/");
    std::error_code ec;
    const fs::path folder = fs::path(beside).parent_path();
    if (fs::exists(beside, ec) || access(folder.c_str(), W_OK) == 0) return beside;
    fs::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        config = fs::path(home) / ".config";
    else
        return beside;
    config /= "sorimo";
    fs::create_directories(config, ec);
    return (config / fs::path(beside).filename()).string();
}

}  // namespace platform::x11
