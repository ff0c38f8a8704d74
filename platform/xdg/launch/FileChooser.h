// The open-file dialog as a child process: the desktop's chooser program
// (see ChooserCommand) prints the chosen path on its standard output, which
// reaches us through a pipe, and ends with status 0; cancelling or closing
// it ends it with another status.
//
// The event loop keeps running while it is open: it polls the pipe (it is
// among ChildProcesses::OutputFds() while open) and calls
// ChildProcesses::Reap() on SIGCHLD; the GUI layer asks Finished() after
// each turn.
#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/Platform.h"
#include "platform/xdg/UniqueFd.h"

namespace platform::xdg {

class ChildProcesses;

class FileChooser final : public FileDialogSession {
public:
    // Starts the chooser, using $XDG_CURRENT_DESKTOP and $PATH. Throws
    // std::runtime_error with a message for the user (Japanese, then
    // English) when no chooser program is installed or it cannot start.
    // `children` must outlive the session.
    static std::unique_ptr<FileChooser> Begin(ChildProcesses& children,
                                              const OpenFileRequest& request);
    // A chooser still open is told to end; it is collected by Reap().
    ~FileChooser() override;
    FileChooser(const FileChooser&) = delete;
    FileChooser& operator=(const FileChooser&) = delete;

    // The pipe's read end while output may still come, else -1.
    int Fd() const { return output_.Get(); }
    // Reads what the chooser printed so far, without blocking; true once it
    // has exited (and was collected) and its output is read.
    bool Finished() override;
    // The chosen path without the line end, or nothing when the chooser was
    // cancelled, closed or failed.
    std::optional<std::string> Result() override;

private:
    FileChooser(ChildProcesses& children, pid_t pid, UniqueFd output);
    void ReadAvailable();
    void CloseOutput();

    ChildProcesses& children_;
    pid_t pid_;
    UniqueFd output_;
    std::string printed_;
    std::optional<int> status_;  // the wait status once collected
};

}  // namespace platform::xdg
