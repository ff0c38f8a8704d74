#include "platform/xdg/launch/ChildProcesses.h"

#include <sys/wait.h>

#include <cerrno>
#include <utility>

namespace platform::xdg {

void ChildProcesses::Watch(pid_t pid, ExitHandler onExit) {
    running_[pid] = std::move(onExit);
}

void ChildProcesses::Forget(pid_t pid) {
    if (auto it = running_.find(pid); it != running_.end()) it->second = nullptr;
}

void ChildProcesses::Reap() {
    for (;;) {
        int status = 0;
        const pid_t pid = ::waitpid(-1, &status, WNOHANG);
        if (pid < 0 && errno == EINTR) continue;
        if (pid <= 0) return;  // none exited yet, or no children at all
        auto it = running_.find(pid);
        if (it == running_.end()) continue;  // not ours to report, only to collect
        // Out of the table before the handler runs: it may start another
        // child or forget this one.
        ExitHandler onExit = std::move(it->second);
        running_.erase(it);
        if (onExit) onExit(status);
    }
}

}  // namespace platform::xdg
