#include "platform/xdg/icons/FileIconSource.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "platform/xdg/GLibHandles.h"
#include "platform/xdg/KeyFile.h"
#include "base/OpenFile.h"

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
    const std::optional<KeyFile> entry = KeyFile::Load(path, kMaxDesktopEntryBytes);
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

// A content type's icon is a list of theme names, most specific first.
void AddTypeIcon(const Gio& gio, FileIconSource& source, GIcon* icon) {
    if (!gio.Is(icon, gio.g_themed_icon_get_type())) return;
    auto* themed = reinterpret_cast<GThemedIcon*>(icon);
    for (const gchar* const* name = gio.g_themed_icon_get_names(themed); *name; ++name)
        AddName(source, *name);
}

// The file's content type as the desktop's file managers give it: folders
// and other non-regular files by their kind; regular files by name, and by
// their first bytes when the name leaves the type uncertain. Only GIO's
// type database is used, not its file layer (fewer of its pages in memory).
// Empty when the path does not exist.
std::string ContentType(const Gio& gio, const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return {};
    if (S_ISDIR(status.st_mode)) return "inode/directory";
    if (S_ISCHR(status.st_mode)) return "inode/chardevice";
    if (S_ISBLK(status.st_mode)) return "inode/blockdevice";
    if (S_ISFIFO(status.st_mode)) return "inode/fifo";
    if (S_ISSOCK(status.st_mode)) return "inode/socket";
    const std::string name = path.substr(path.find_last_of('/') + 1);
    gboolean uncertain = FALSE;
    std::string type = TakeString(gio, gio.g_content_type_guess(name.c_str(), nullptr, 0, &uncertain));
    if (!uncertain) return type;
    // What the type database can recognise lies in the first 4 KiB.
    // Opened without waiting: the file may have become a named pipe since.
    std::array<guchar, 4096> head;
    std::uintmax_t size = 0;
    const base::FilePtr file = base::OpenRegularFile(path, size);
    if (!file) return type;  // unreadable: the name's guess
    const std::size_t length = std::fread(head.data(), 1, head.size(), file.get());
    return TakeString(gio, gio.g_content_type_guess(name.c_str(), head.data(), length, nullptr));
}

// The home folder has an icon of its own.
bool IsHomeFolder(const std::string& path) {
    const char* home = std::getenv("HOME");
    if (!home || !*home) return false;
    std::string a = path, b = home;
    while (a.size() > 1 && a.back() == '/') a.pop_back();
    while (b.size() > 1 && b.back() == '/') b.pop_back();
    return a == b;
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
    const std::string type = ContentType(*gio, path);
    if (type.empty()) return source;
    if (EndsWith(path, ".desktop")) AddDesktopIcon(source, path);
    if (type == "inode/directory" && IsHomeFolder(path)) AddName(source, "user-home");
    const auto icon = OwnObject(*gio, gio->g_content_type_get_icon(type.c_str()));
    if (icon) AddTypeIcon(*gio, source, icon.get());
    return source;
}

}  // namespace platform::xdg
