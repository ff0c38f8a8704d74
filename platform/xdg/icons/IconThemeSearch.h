// Finding an icon file by name across the user's theme, the themes it
// inherits from, hicolor, and finally loose files in the base dirs.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/xdg/icons/IconSearchPaths.h"
#include "platform/xdg/icons/IconTheme.h"

namespace platform::xdg {

class IconThemeSearch {
public:
    IconThemeSearch(IconSearchPaths paths, int size) : paths_(std::move(paths)), size_(size) {}

    // The PNG file for the first of `names` that the most specific theme
    // has (each theme is asked for every name before its parents are).
    std::optional<std::string> FindFile(const std::vector<std::string>& names);

private:
    IconTheme* Theme(const std::string& name);
    std::optional<std::string> FindInTheme(const std::vector<std::string>& names,
                                           const std::string& themeName,
                                           std::set<std::string>& visited);
    std::optional<std::string> FindLoose(const std::vector<std::string>& names) const;

    IconSearchPaths paths_;
    int size_;
    std::map<std::string, std::optional<IconTheme>> themes_;  // loaded once, absent ones too
};

}  // namespace platform::xdg
