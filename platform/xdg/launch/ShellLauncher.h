// Start reading launch/ here. The folder opens files and asks for them:
// how a file is opened (LaunchDecision), starting programs without a shell
// (Spawn) and collecting them (ChildProcesses), and the desktop's file
// chooser as a child process (ChooserCommand, FileChooser).
//
// Opening a file with its default action on a Linux desktop: a .desktop file
// starts its application, an executable program or script runs directly
// (never through a shell: no character of the path is interpreted), and any
// other file goes to the desktop's default handler for its type.
#pragma once

#include "platform/Platform.h"

namespace platform::xdg {

class ChildProcesses;
class GioLibrary;

// The classic results: 32 or more means success.
namespace shell_result {
constexpr int kOpened = 33;
constexpr int kOutOfResources = 0;
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kAccessDenied = 5;
constexpr int kOutOfMemory = 8;
constexpr int kBadFormat = 11;
constexpr int kNoAssociation = 31;
}  // namespace shell_result

class LinuxLauncher {
public:
    // Programs it starts itself are registered with `children` for reaping;
    // the desktop's launchers (through `gio`) detach theirs, which are never
    // our children. Both must outlive the launcher.
    LinuxLauncher(ChildProcesses& children, GioLibrary& gio) : children_(children), gio_(gio) {}
    LinuxLauncher(const LinuxLauncher&) = delete;
    LinuxLauncher& operator=(const LinuxLauncher&) = delete;

    // A relative File is taken inside Directory. A program runs with
    // Directory as its working directory (ours when empty) and Parameters
    // split into arguments by quoting rules alone, without any expansion.
    // Returns >= 32 once the file was handed over, else a classic error.
    int Open(const ShellOpenRequest& request);

private:
    int RunProgram(const std::string& path, const ShellOpenRequest& request);
    int StartDesktopEntry(const std::string& path);
    int OpenLinkEntry(const std::string& path);
    int OpenWithDefaultHandler(const std::string& path);
    int OpenUri(const std::string& uri);

    ChildProcesses& children_;
    GioLibrary& gio_;
};

}  // namespace platform::xdg
