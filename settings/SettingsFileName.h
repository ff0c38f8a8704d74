// The name of the program's settings file, derived from the executable's.
#pragma once

#include <string>
#include <string_view>

namespace settings {

// The settings file name for an executable: its full path with the extension
// (from the last '.' behind the last separator) replaced by ".INI", or with
// ".INI" appended when the name has no extension. `separators` lists the
// path separators: "/" on POSIX systems, "\\:" on Windows.
std::string SettingsFileName(std::string_view exePath, std::string_view separators);

}  // namespace settings
