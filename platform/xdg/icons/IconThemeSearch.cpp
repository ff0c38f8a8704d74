#include "platform/xdg/icons/IconThemeSearch.h"

#include <sys/stat.h>

namespace platform::xdg {

namespace {

constexpr char kLastTheme[] = "hicolor";

bool IsFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::optional<std::string> IconThemeSearch::FindFile(const std::vector<std::string>& names) {
    if (names.empty()) return std::nullopt;
    std::set<std::string> visited;
    if (auto file = FindInTheme(names, paths_.ThemeName, visited)) return file;
    if (auto file = FindInTheme(names, kLastTheme, visited)) return file;
    return FindLoose(names);
}

IconTheme* IconThemeSearch::Theme(const std::string& name) {
    auto it = themes_.find(name);
    if (it == themes_.end())
        it = themes_.emplace(name, IconTheme::Load(name, paths_.BaseDirs, size_)).first;
    return it->second ? &*it->second : nullptr;
}

// Depth first through the parents, each theme once: a theme named twice in
// the chain (or a cycle of Inherits) is searched at its first place only.
std::optional<std::string> IconThemeSearch::FindInTheme(const std::vector<std::string>& names,
                                                        const std::string& themeName,
                                                        std::set<std::string>& visited) {
    if (!visited.insert(themeName).second) return std::nullopt;
    IconTheme* theme = Theme(themeName);
    if (!theme) return std::nullopt;
    for (const std::string& name : names)
        if (auto file = theme->Find(name)) return file;
    for (const std::string& parent : theme->Parents())
        if (auto file = FindInTheme(names, parent, visited)) return file;
    return std::nullopt;
}

// Icons outside any theme, such as those in /usr/share/pixmaps.
std::optional<std::string> IconThemeSearch::FindLoose(const std::vector<std::string>& names) const {
    for (const std::string& name : names)
        for (const std::string& base : paths_.BaseDirs)
            if (const std::string file = base + "/" + name + ".png"; IsFile(file)) return file;
    return std::nullopt;
}

}  // namespace platform::xdg
