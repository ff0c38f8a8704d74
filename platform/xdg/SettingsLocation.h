// Where the settings file of a Linux program lies: beside the executable,
// or in the user's configuration folder for an installed copy and when the
// executable's folder cannot take it.
#pragma once

#include <optional>
#include <string>

namespace platform::xdg {

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute
// path (a relative value is ignored, as the base directory rules say: it
// would make every working folder a configuration of its own), else
// $HOME/.config; nothing when neither variable gives one.
std::optional<std::string> ConfigHome();

// The executable's settings file (its name with ".INI") when that file
// exists, or when the copy is not installed and its folder is writable;
// otherwise the same name in $XDG_CONFIG_HOME/sorimo/ (default
// ~/.config/sorimo/), which is created. Without either variable, the file
// beside the executable.
std::string SettingsFileFor(const std::string& executable);

// An installed copy: `cmake --install` and the package put the executable
// into <prefix>/bin and the mark <prefix>/share/sorimo/installed beside it.
bool IsInstalledCopy(const std::string& executable);

}  // namespace platform::xdg
