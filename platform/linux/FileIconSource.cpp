#include "platform/linux/FileIconSource.h"

#include <gio/gio.h>

#include <algorithm>

#include "platform/linux/GLibHandles.h"

namespace platform::xdg {

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void AddName(FileIconSource& source, std::string name) {
    if (name.empty() || EndsWith(name, "-symbolic")) return;
    if (std::find(source.Names.begin(), source.Names.end(), name) == source.Names.end())
        source.Names.push_back(std::move(name));
}

// Icon= holds a path or a theme name; older entries give names with an
// image extension, which the theme lookup does not want.
void AddDesktopIcon(FileIconSource& source, const std::string& path) {
    GKeyFilePtr entry(g_key_file_new());
    if (!g_key_file_load_from_file(entry.get(), path.c_str(), G_KEY_FILE_NONE, nullptr)) return;
    std::string icon =
        TakeString(g_key_file_get_string(entry.get(), "Desktop Entry", "Icon", nullptr));
    if (icon.empty()) return;
    if (icon.front() == '/') {
        source.File = icon;
        return;
    }
    for (const char* extension : {".png", ".svg", ".xpm"})
        if (EndsWith(icon, extension)) icon.resize(icon.size() - 4);
    AddName(source, icon);
}

void AddGioIcon(FileIconSource& source, GIcon* icon) {
    if (G_IS_THEMED_ICON(icon)) {
        for (const gchar* const* name = g_themed_icon_get_names(G_THEMED_ICON(icon)); *name; ++name)
            AddName(source, *name);
    } else if (G_IS_FILE_ICON(icon) && source.File.empty()) {
        source.File = TakeString(g_file_get_path(g_file_icon_get_file(G_FILE_ICON(icon))));
    }
}

}  // namespace

std::string FileIconSource::Key() const {
    std::string key = File;
    for (const std::string& name : Names) key += "\n" + name;
    return key;
}

FileIconSource FileIconSource::Of(const std::string& path) {
    FileIconSource source;
    GObjectPtr<GFile> file(g_file_new_for_path(path.c_str()));
    GObjectPtr<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_ICON,
                                                 G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (!info) return source;
    if (EndsWith(path, ".desktop")) AddDesktopIcon(source, path);
    if (GIcon* icon = g_file_info_get_icon(info.get())) AddGioIcon(source, icon);
    return source;
}

}  // namespace platform::xdg
