// What a file's icon is called: an image file named outright, and theme
// icon names, best first. Reads the file's type through GIO and, for a
// .desktop file, its own Icon= entry.
#pragma once

#include <string>
#include <vector>

namespace platform::xdg {

class GioLibrary;

struct FileIconSource {
    std::string File;                // an image file given by path ("" when none)
    std::vector<std::string> Names;  // icon names for the theme, best first

    bool Empty() const { return File.empty() && Names.empty(); }
    // One string naming the whole source, for caches.
    std::string Key() const;

    // Nothing for a path that does not exist. Symbolic (pictogram) names
    // are left out.
    // Nothing either when GIO cannot be loaded.
    static FileIconSource Of(GioLibrary& gio, const std::string& path);
};

}  // namespace platform::xdg
