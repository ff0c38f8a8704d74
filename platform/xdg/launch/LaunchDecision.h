// How a file is opened: decided from the file itself, before anything runs.
#pragma once

#include <string>

namespace platform::xdg {

enum class LaunchKind {
    Missing,       // nothing there (or a dangling link): fails with "file not found"
    DesktopEntry,  // a .desktop file: started as the application it describes
    Program,       // an executable program or #! script: run directly
    Document,      // anything else: handed to the desktop's default handler
};

// Programs are regular files with an execute bit that start like an ELF
// binary or a script. Other files with an execute bit (every file on some
// mounted media has one) are documents.
LaunchKind ClassifyLaunch(const std::string& path);

}  // namespace platform::xdg
