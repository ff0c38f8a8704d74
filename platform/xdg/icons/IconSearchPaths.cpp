#include "platform/xdg/icons/IconSearchPaths.h"

#include <cstdlib>
#include <optional>

#include "platform/xdg/KeyFile.h"
#include "platform/xdg/SplitText.h"

namespace platform::xdg {

namespace {

std::string Env(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}

std::vector<std::string> SplitColons(const std::string& list) {
    std::vector<std::string> parts = SplitText(list, ':');
    std::erase(parts, std::string());
    return parts;
}

// The largest toolkit settings file read: a few dozen lines in practice.
constexpr std::uintmax_t kMaxGtkSettingsBytes = 1 << 20;

std::optional<std::string> ThemeInGtkSettings(const std::string& configDir) {
    const std::string file = configDir + "/gtk-3.0/settings.ini";
    const std::optional<KeyFile> settings = KeyFile::Load(file, kMaxGtkSettingsBytes);
    if (!settings) return std::nullopt;
    std::optional<std::string> theme = settings->Value("Settings", "gtk-icon-theme-name");
    if (theme && theme->empty()) return std::nullopt;
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
