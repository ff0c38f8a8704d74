// Start reading icons/ here. The folder finds file icons the way Linux
// desktops do: the file's type (shared-mime-info through GIO) or its
// desktop entry names an icon; the user's theme and its parents
// (IconTheme, IconThemeSearch, IconCacheFile, IconSearchPaths) give the
// file; PNG decoding and scaling (IconScaling) give the 32 x 32 picture.
//
// A 32 x 32 icon for a file on a Linux desktop: the icon its type (or its
// .desktop entry) names, found in the user's icon theme, decoded from PNG
// and scaled when the theme has no 32 x 32 picture of it.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "gfx/Graphics.h"
#include "platform/xdg/icons/IconSearchPaths.h"
#include "platform/xdg/icons/IconThemeSearch.h"
#include "platform/png/PngFile.h"

namespace platform::xdg {

struct FileIconSource;
class GioLibrary;

class IconLookup {
public:
    static constexpr int kIconSize = 32;
    // Decodes an icon file; throws std::runtime_error when it cannot.
    using Reader = std::function<PngPicture(const std::string& path)>;
    // What an icon picture may take: theme pictures are at most 512 x 512
    // in a few hundred KiB, so a larger file (a huge or sparse file, named
    // by a desktop entry) is refused before it is read.
    static constexpr PngLimits kIconLimits{std::uintmax_t(8) << 20, 2048 * 2048};
    static PngPicture ReadIconFile(const std::string& path) {
        return ReadPngWithAlpha(path, kIconLimits);
    }

    // File types come from `gio`, which must outlive the lookup.
    IconLookup(IconSearchPaths paths, GioLibrary& gio, Reader read = ReadIconFile);
    IconLookup(const IconLookup&) = delete;
    IconLookup& operator=(const IconLookup&) = delete;

    // The file's icon, or nothing when it has none (or does not exist).
    // Results are kept by the names that led to them, misses included, so
    // that files of a type already seen cost one query of the file's type
    // and no theme or image file access.
    std::optional<gfx::TIcon> Find(const std::string& path);

private:
    std::optional<gfx::TIcon> Decode(const std::string& file);
    std::optional<gfx::TIcon> Resolve(const FileIconSource& source);

    IconThemeSearch themes_;
    GioLibrary& gio_;
    Reader read_;
    std::map<std::string, std::optional<gfx::TIcon>> bySource_;
};

}  // namespace platform::xdg
