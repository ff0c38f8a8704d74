#include "platform/linux/FileIconSource.h"

#include <algorithm>

#include "platform/linux/GLibHandles.h"
#include "platform/linux/KeyFile.h"

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
    const std::optional<KeyFile> entry = KeyFile::Load(path);
    if (!entry) return;
    std::string icon = entry->Value("Desktop Entry", "Icon").value_or("");
    if (icon.empty()) return;
    if (icon.front() == '/') {
        source.File = icon;
        return;
    }
    for (const char* extension : {".png", ".svg", ".xpm"})
        if (EndsWith(icon, extension)) icon.resize(icon.size() - 4);
    AddName(source, icon);
}

void AddGioIcon(const Gio& gio, FileIconSource& source, GIcon* icon) {
    if (gio.Is(icon, gio.g_themed_icon_get_type())) {
        auto* themed = reinterpret_cast<GThemedIcon*>(icon);
        for (const gchar* const* name = gio.g_themed_icon_get_names(themed); *name; ++name)
            AddName(source, *name);
    } else if (gio.Is(icon, gio.g_file_icon_get_type()) && source.File.empty()) {
        GFile* file = gio.g_file_icon_get_file(reinterpret_cast<GFileIcon*>(icon));
        source.File = TakeString(gio, gio.g_file_get_path(file));
    }
}

}  // namespace

std::string FileIconSource::Key() const {
    std::string key = File;
    for (const std::string& name : Names) key += "\n" + name;
    return key;
}

FileIconSource FileIconSource::Of(GioLibrary& library, const std::string& path) {
    FileIconSource source;
    const Gio* gio = library.Get();
    if (!gio) return source;
    const auto file = OwnObject(*gio, gio->g_file_new_for_path(path.c_str()));
    const auto info = OwnObject(*gio, gio->g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_ICON,
                                                            G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (!info) return source;
    if (EndsWith(path, ".desktop")) AddDesktopIcon(source, path);
    if (GIcon* icon = gio->g_file_info_get_icon(info.get())) AddGioIcon(*gio, source, icon);
    return source;
}

}  // namespace platform::xdg
