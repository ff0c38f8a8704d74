// The command line of the desktop's file chooser program for an open-file
// request: kdialog on a KDE desktop, zenity elsewhere.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace platform::xdg {

// The full path of `program` in the colon-separated `searchPath`, if an
// executable file of that name is there.
std::optional<std::string> FindProgram(const std::string& program, const std::string& searchPath);

// The argument vector (argv[0] a full path) for the chooser to run, given
// the desktop's name list ($XDG_CURRENT_DESKTOP) and $PATH. Where the first
// choice is missing the other one serves. Nothing when neither exists.
std::optional<std::vector<std::string>> ChooserCommand(const OpenFileRequest& request,
                                                       const std::string& desktop,
                                                       const std::string& searchPath);

}  // namespace platform::xdg
