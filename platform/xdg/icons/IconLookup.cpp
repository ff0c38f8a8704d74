#include "platform/xdg/icons/IconLookup.h"

#include <stdexcept>

#include "platform/xdg/icons/FileIconSource.h"
#include "platform/xdg/icons/IconScaling.h"

namespace platform::xdg {

namespace {

bool IsPng(const std::string& file) {
    return file.size() > 4 && file.compare(file.size() - 4, 4, ".png") == 0;
}

}  // namespace

IconLookup::IconLookup(IconSearchPaths paths, GioLibrary& gio, Reader read)
    : themes_(std::move(paths), kIconSize), gio_(gio), read_(std::move(read)) {}

std::optional<gfx::TIcon> IconLookup::Find(const std::string& path) {
    const FileIconSource source = FileIconSource::Of(gio_, path);
    if (source.Empty()) return std::nullopt;
    const std::string key = source.Key();
    auto it = bySource_.find(key);
    if (it == bySource_.end()) it = bySource_.emplace(key, Resolve(source)).first;
    return it->second;
}

// A picture named by path comes first; when it is no PNG (or unreadable)
// the theme names still give the file its type's icon.
std::optional<gfx::TIcon> IconLookup::Resolve(const FileIconSource& source) {
    if (IsPng(source.File))
        if (auto icon = Decode(source.File)) return icon;
    if (auto file = themes_.FindFile(source.Names)) return Decode(*file);
    return std::nullopt;
}

std::optional<gfx::TIcon> IconLookup::Decode(const std::string& file) {
    try {
        gfx::TIcon icon = ScaleIcon(read_(file), kIconSize);
        if (icon.Empty()) return std::nullopt;
        return icon;
    } catch (const std::runtime_error&) {
        return std::nullopt;  // a broken picture: the cell keeps its bare face
    }
}

}  // namespace platform::xdg
