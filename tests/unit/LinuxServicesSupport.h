// Helpers for the tests of the Linux shell services: environment variables
// set for one test, a desktop with no applications or file types, and
// waiting for child processes without sleeping.
#pragma once

#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>

#include "tests/support/TempDir.h"

namespace linux_testing {

// Sets (or, given nothing, removes) a variable until the end of the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Points the XDG data and config dirs at an empty folder, so that GIO finds
// no application for any file type whatever the machine has installed.
// GLib reads these once per process, at its first use: a test relying on
// this must set it up before anything in the process asks GIO (ctest runs
// every test in a process of its own).
class EmptyDesktop {
public:
    EmptyDesktop()
        : data_("XDG_DATA_HOME", dir_.Path().string()),
          dataDirs_("XDG_DATA_DIRS", dir_.Path().string()),
          config_("XDG_CONFIG_HOME", dir_.Path().string()),
          configDirs_("XDG_CONFIG_DIRS", dir_.Path().string()) {}

private:
    testing_support::TempDir dir_;
    ScopedEnv data_, dataDirs_, config_, configDirs_;
};

// Blocks until some child of this process has exited, leaving it for the
// code under test to collect. False when there is no child at all.
inline bool WaitUntilAChildExits() {
    siginfo_t info{};
    int result;
    do result = waitid(P_ALL, 0, &info, WEXITED | WNOWAIT);
    while (result != 0 && errno == EINTR);
    return result == 0;
}

// True when this process has no children left, not even uncollected ones.
// Collects nothing itself.
inline bool NoChildrenLeft() {
    siginfo_t info{};
    return waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == -1 && errno == ECHILD;
}

inline bool WaitReadable(int fd, int timeoutMs = 20000) {
    pollfd entry{fd, POLLIN, 0};
    int result;
    do result = poll(&entry, 1, timeoutMs);
    while (result < 0 && errno == EINTR);
    return result == 1;
}

inline void WriteExecutable(const std::string& path, const std::string& text) {
    testing_support::WriteFile(path, text);
    chmod(path.c_str(), 0755);
}

}  // namespace linux_testing
