// The one place where this process collects its exited children. The Linux
// services start programs (launched files, the file chooser) and register
// them here; the event loop calls Reap() whenever SIGCHLD arrives, and
// polls OutputFds() for reading so that a child writing to us never blocks.
//
// Reap() collects every exited child of the process, registered or not, so
// that no zombie is ever left. Code that needs a child's exit status must
// therefore register the child (Watch) rather than wait for it itself.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <map>
#include <set>

namespace platform::xdg {

class ChildProcesses {
public:
    // Receives the wait status (see waitpid) of the exited child.
    using ExitHandler = std::function<void(int status)>;

    ChildProcesses() = default;
    ChildProcesses(const ChildProcesses&) = delete;
    ChildProcesses& operator=(const ChildProcesses&) = delete;

    // Registers a running child; `onExit` (may be empty) runs from Reap()
    // once the child has been collected.
    void Watch(pid_t pid, ExitHandler onExit = {});
    // Drops the handler; the child is still collected when it exits.
    void Forget(pid_t pid);
    // Registered children not yet collected.
    std::size_t Running() const { return running_.size(); }

    // Collects every exited child without blocking and runs the handlers.
    void Reap();

    // Pipes from children that the event loop must poll for reading; their
    // owners add and remove them.
    void AddOutput(int fd) { outputs_.insert(fd); }
    void RemoveOutput(int fd) { outputs_.erase(fd); }
    const std::set<int>& OutputFds() const { return outputs_; }

private:
    std::map<pid_t, ExitHandler> running_;
    std::set<int> outputs_;
};

}  // namespace platform::xdg
