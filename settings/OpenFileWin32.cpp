#include "settings/OpenFile.h"

#include <string>

namespace gui {

// The wide path, so that any name opens whatever the ANSI code page holds.
FilePtr OpenFile(const std::filesystem::path& path, const char* mode) {
    const std::string narrow(mode);
    return FilePtr(_wfopen(path.c_str(), std::wstring(narrow.begin(), narrow.end()).c_str()));
}

}  // namespace gui
