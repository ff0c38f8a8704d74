#include "platform/linux/IconSearchPaths.h"

#include <cstdlib>
#include <optional>
#include <sstream>

#include "platform/linux/GLibHandles.h"

namespace platform::xdg {

namespace {

std::string Env(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}

std::vector<std::string> SplitColons(const std::string& list) {
    std::vector<std::string> parts;
    std::istringstream in(list);
    for (std::string part; std::getline(in, part, ':');)
        if (!part.empty()) parts.push_back(part);
    return parts;
}

std::optional<std::string> ThemeInGtkSettings(const std::string& configDir) {
    const std::string file = configDir + "/gtk-3.0/settings.ini";
    GKeyFilePtr settings(g_key_file_new());
    if (!g_key_file_load_from_file(settings.get(), file.c_str(), G_KEY_FILE_NONE, nullptr))
        return std::nullopt;
    std::string theme = TakeString(
        g_key_file_get_string(settings.get(), "Settings", "gtk-icon-theme-name", nullptr));
    if (theme.empty()) return std::nullopt;
    return theme;
}

}  // namespace

IconSearchPaths IconSearchPaths::FromEnvironment() {
    const std::string home = Env("HOME", "");
    IconSearchPaths paths;
    if (!home.empty()) paths.BaseDirs.push_back(home + "/.icons");
    paths.BaseDirs.push_back(Env("XDG_DATA_HOME", home + "/.local/share") + "/icons");
    for (const std::string& dir : SplitColons(Env("XDG_DATA_DIRS", "/usr/local/share:/usr/share")))
        paths.BaseDirs.push_back(dir + "/icons");
    paths.BaseDirs.push_back("/usr/share/pixmaps");

    std::vector<std::string> configDirs{Env("XDG_CONFIG_HOME", home + "/.config")};
    for (const std::string& dir : SplitColons(Env("XDG_CONFIG_DIRS", "/etc/xdg")))
        configDirs.push_back(dir);
    for (const std::string& dir : configDirs) {
        if (auto theme = ThemeInGtkSettings(dir)) {
            paths.ThemeName = *theme;
            break;
        }
    }
    return paths;
}

}  // namespace platform::xdg
