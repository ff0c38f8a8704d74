#include "platform/xdg/SettingsLocation.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "settings/SettingsFileName.h"

namespace platform::xdg {

namespace fs = std::filesystem;

std::optional<std::string> ConfigHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') return std::string(xdg);
    if (const char* home = std::getenv("HOME"); home && *home) return (fs::path(home) / ".config").string();
    return std::nullopt;
}

bool IsInstalledCopy(const std::string& executable) {
    std::error_code ec;
    const fs::path bin = fs::path(executable).parent_path();
    return bin.filename() == "bin" &&
           fs::is_regular_file(bin.parent_path() / "share" / "sorimo" / "installed", ec);
}

std::string SettingsFileFor(const std::string& executable) {
    const std::string beside = settings::SettingsFileName(executable, "/");
    std::error_code ec;
    const fs::path folder = fs::path(beside).parent_path();
    if (fs::exists(beside, ec)) return beside;
    if (!IsInstalledCopy(executable) && access(folder.c_str(), W_OK) == 0) return beside;
    const std::optional<std::string> home = ConfigHome();
    if (!home) return beside;
    const fs::path config = fs::path(*home) / "sorimo";
    fs::create_directories(config, ec);
    return (config / fs::path(beside).filename()).string();
}

}  // namespace platform::xdg
