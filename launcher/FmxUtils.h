// Opening a file with its default action through the platform's shell.
#pragma once

#include <string>

namespace gui {
class TApplication;
}

namespace launcher {

// Opens `fileName` with its default action, with `params` and the working
// directory `defaultDir`, owned by the main window. Returns the shell's
// result: 32 or more means success. Texts of any length are passed whole.
int ShellOpenFile(gui::TApplication& app, const std::string& fileName, const std::string& params,
                  const std::string& defaultDir, int showCmd);

// True for a named pipe, a device or a socket (a link to one too): nothing
// with a default action, and reading one may wait for ever. Decided from
// the file's kind alone; the file is not opened.
bool IsSpecialFile(const std::string& path);

// True when the file was deleted: its folder is there and it is not. A
// file whose folder is missing too (a drive that is not mounted, a network
// folder that is away) is not gone, only out of reach. A symbolic link
// counts by the file it points to.
bool IsDeletedFile(const std::string& path);

}  // namespace launcher
