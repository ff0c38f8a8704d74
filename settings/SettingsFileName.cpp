#include "settings/SettingsFileName.h"

namespace settings {

std::string SettingsFileName(std::string_view exePath, std::string_view separators) {
    const std::size_t separator = exePath.find_last_of(separators);
    const std::size_t nameStart = separator == std::string_view::npos ? 0 : separator + 1;
    const std::size_t dot = exePath.rfind('.');
    const std::size_t stemEnd = (dot != std::string_view::npos && dot >= nameStart) ? dot : exePath.size();
    return std::string(exePath.substr(0, stemEnd)) + ".INI";
}

}  // namespace settings
