// Starting the program with the user's session: the autostart entry
// $XDG_CONFIG_HOME/autostart/sorimo.desktop, which the session managers of
// the Linux desktops read at login.
#pragma once

#include <string>

namespace platform::xdg {

// The entry's path: $XDG_CONFIG_HOME/autostart/sorimo.desktop, or
// ~/.config/autostart/... when the variable is unset, empty or relative.
// Throws std::runtime_error when there is neither that nor HOME.
std::string AutostartEntryPath();

// The entry that starts `executable` (an absolute path) once the panel with
// its tray is there. Throws std::runtime_error for a path that a desktop
// entry cannot hold (a line break).
std::string AutostartEntryText(const std::string& executable);

// Writes the entry for `executable` (replacing the file as a whole, the
// folder made when missing) or removes it (no entry is no fault). Throws
// std::runtime_error saying what failed.
void EnableAutostart(const std::string& executable);
void DisableAutostart();

}  // namespace platform::xdg
