#include "platform/xdg/launch/Spawn.h"

#include <spawn.h>

#include <cassert>
#include <csignal>

extern char** environ;

namespace platform::xdg {

namespace {

class FileActions {
public:
    FileActions() { posix_spawn_file_actions_init(&actions_); }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
    posix_spawn_file_actions_t* Get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

class Attributes {
public:
    Attributes() { posix_spawnattr_init(&attributes_); }
    ~Attributes() { posix_spawnattr_destroy(&attributes_); }
    Attributes(const Attributes&) = delete;
    Attributes& operator=(const Attributes&) = delete;
    posix_spawnattr_t* Get() { return &attributes_; }

private:
    posix_spawnattr_t attributes_;
};

// A child must not inherit what this process set up for itself: ignored or
// caught signals (the event loop catches SIGCHLD and SIGTERM) and a blocked
// mask would change how the launched program behaves.
int CleanSignals(Attributes& attributes) {
    sigset_t all;
    sigset_t none;
    sigfillset(&all);
    sigdelset(&all, SIGKILL);
    sigdelset(&all, SIGSTOP);
    sigemptyset(&none);
    if (int error = posix_spawnattr_setsigdefault(attributes.Get(), &all)) return error;
    if (int error = posix_spawnattr_setsigmask(attributes.Get(), &none)) return error;
    return posix_spawnattr_setflags(attributes.Get(),
                                    POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF |
                                        POSIX_SPAWN_SETSIGMASK);
}

int PlanDescriptors(FileActions& actions, const SpawnOptions& options) {
    if (options.StdoutFd >= 0)
        if (int error = posix_spawn_file_actions_adddup2(actions.Get(), options.StdoutFd, 1))
            return error;
    if (!options.Directory.empty())
        if (int error = posix_spawn_file_actions_addchdir_np(actions.Get(),
                                                             options.Directory.c_str()))
            return error;
    return posix_spawn_file_actions_addclosefrom_np(actions.Get(), 3);
}

}  // namespace

SpawnResult SpawnChild(const SpawnOptions& options) {
    assert(!options.Argv.empty());
    FileActions actions;
    Attributes attributes;
    if (int error = PlanDescriptors(actions, options)) return {-1, error};
    if (int error = CleanSignals(attributes)) return {-1, error};

    std::vector<char*> argv;
    for (const std::string& arg : options.Argv) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const auto spawn = options.SearchPath ? posix_spawnp : posix_spawn;
    if (int error = spawn(&pid, argv[0], actions.Get(), attributes.Get(), argv.data(), environ))
        return {-1, error};
    return {pid, 0};
}

}  // namespace platform::xdg
