// The shell services of the Linux backends (X11 and Wayland): launching,
// file icons, the file chooser, the settings file's place and the GIO
// library the notification area shares.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/xdg/GioLibrary.h"
#include "platform/xdg/icons/IconLookup.h"
#include "platform/xdg/launch/ChildProcesses.h"
#include "platform/xdg/launch/ShellLauncher.h"

namespace platform::xdg {

class DesktopServices {
public:
    DesktopServices();
    DesktopServices(const DesktopServices&) = delete;
    DesktopServices& operator=(const DesktopServices&) = delete;

    int ShellOpen(const ShellOpenRequest& request) { return launcher_.Open(request); }
    std::optional<gfx::TIcon> FileIcon(const std::string& path) { return icons_.Find(path); }
    std::unique_ptr<FileDialogSession> BeginOpenFileDialog(const OpenFileRequest& request);
    // Beside the executable when that file exists or its folder is
    // writable; otherwise in $XDG_CONFIG_HOME/sorimo (~/.config/sorimo).
    std::string SettingsFile(const std::string& executable) const;

    std::vector<int> WatchedFds() const;
    // GIO, loaded on first use; the notification area's bus connection shares it.
    GioLibrary& Gio() { return gio_; }
    void ReapChildren() { children_.Reap(); }

private:
    ChildProcesses children_;
    GioLibrary gio_;
    LinuxLauncher launcher_{children_, gio_};
    IconLookup icons_;
};

}  // namespace platform::xdg
