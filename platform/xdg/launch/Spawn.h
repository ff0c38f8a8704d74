// Starting a program as a child process directly, never through a shell:
// the arguments reach it exactly as given, whatever characters they hold.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace platform::xdg {

struct SpawnOptions {
    std::vector<std::string> Argv;  // Argv[0] names the program; must not be empty
    bool SearchPath = false;        // look Argv[0] up in PATH when it holds no '/'
    std::string Directory;          // the child's working directory; "" keeps ours
    int StdoutFd = -1;              // becomes the child's standard output when >= 0
};

struct SpawnResult {
    pid_t Pid = -1;  // > 0 on success
    int Error = 0;   // the errno of the failure (exec, working directory, ...)
};

// Starts the child in a session of its own, with default signal handling,
// nothing blocked, our environment and only descriptors 0, 1 and 2 open,
// so that it neither shares our terminal signals nor holds our pipes or
// display connection. The caller must have the child reaped.
SpawnResult SpawnChild(const SpawnOptions& options);

}  // namespace platform::xdg
