#include "platform/xdg/launch/FileChooser.h"

#include <fcntl.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "i18n/Messages.h"
#include "platform/xdg/launch/ChildProcesses.h"
#include "platform/xdg/launch/ChooserCommand.h"
#include "platform/xdg/launch/Spawn.h"

namespace platform::xdg {

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

[[noreturn]] void FailToStart(const std::string& detail) {
    throw std::runtime_error(i18n::Format(i18n::Tr("Cannot open the file chooser (zenity or kdialog): %s"), {detail}));
}

}  // namespace

std::unique_ptr<FileChooser> FileChooser::Begin(ChildProcesses& children,
                                                const OpenFileRequest& request) {
    const auto command = ChooserCommand(request, Env("XDG_CURRENT_DESKTOP"), Env("PATH"));
    if (!command)
        throw std::runtime_error(i18n::Tr("No file chooser (zenity or kdialog) was found in PATH."));
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) FailToStart(std::strerror(errno));
    UniqueFd readEnd(ends[0]);
    const UniqueFd writeEnd(ends[1]);
    ::fcntl(readEnd.Get(), F_SETFL, O_NONBLOCK);

    SpawnOptions options;
    options.Argv = *command;
    options.StdoutFd = writeEnd.Get();
    const SpawnResult spawned = SpawnChild(options);
    if (spawned.Pid <= 0) FailToStart(command->front() + ": " + std::strerror(spawned.Error));
    return std::unique_ptr<FileChooser>(new FileChooser(children, spawned.Pid, std::move(readEnd)));
}

FileChooser::FileChooser(ChildProcesses& children, pid_t pid, UniqueFd output)
    : children_(children), pid_(pid), output_(std::move(output)) {
    children_.Watch(pid_, [this](int status) { status_ = status; });
    children_.AddOutput(output_.Get());
}

FileChooser::~FileChooser() {
    CloseOutput();
    if (status_) return;
    children_.Forget(pid_);
    ::kill(pid_, SIGTERM);
}

bool FileChooser::Finished() {
    ReadAvailable();
    if (!status_) children_.Reap();  // the loop may not have seen SIGCHLD yet
    if (!status_) return false;
    // A program the chooser started may still hold the pipe: what it has
    // not written by now is not the answer.
    ReadAvailable();
    CloseOutput();
    return true;
}

std::optional<std::string> FileChooser::Result() {
    if (!status_ || !WIFEXITED(*status_) || WEXITSTATUS(*status_) != 0) return std::nullopt;
    std::string path = printed_;
    if (!path.empty() && path.back() == '\n') path.pop_back();
    if (path.empty()) return std::nullopt;
    return path;
}

void FileChooser::ReadAvailable() {
    char buffer[4096];
    while (output_.Valid()) {
        const ssize_t got = ::read(output_.Get(), buffer, sizeof buffer);
        if (got > 0) {
            printed_.append(buffer, std::size_t(got));
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else if (got < 0 && errno == EAGAIN) {
            return;  // nothing more for now
        } else {
            CloseOutput();  // at its end (or broken) the pipe would wake the loop forever
        }
    }
}

void FileChooser::CloseOutput() {
    if (!output_.Valid()) return;
    children_.RemoveOutput(output_.Get());
    output_.Reset();
}

}  // namespace platform::xdg
