// Where icon themes are looked for and which theme the user chose.
#pragma once

#include <string>
#include <vector>

namespace platform::xdg {

struct IconSearchPaths {
    // Roots holding theme folders (and loose icons), searched in order.
    std::vector<std::string> BaseDirs;
    // The user's theme; hicolor is searched after it and its parents.
    std::string ThemeName = "Adwaita";

    // From the environment: $HOME/.icons, $XDG_DATA_HOME/icons, each of
    // $XDG_DATA_DIRS/icons and /usr/share/pixmaps; the theme named by
    // gtk-icon-theme-name in the GTK 3 settings file (the user's, then the
    // system's), else Adwaita.
    static IconSearchPaths FromEnvironment();
};

}  // namespace platform::xdg
