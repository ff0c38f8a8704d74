#include "platform/posix/SignalWatch.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace platform::posix {

namespace {
// The one piece of state a signal handler can reach: the pipe's write end.
std::atomic<int> gSignalPipe{-1};

void OnSignal(int signal) {
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    const int fd = gSignalPipe.load();
    if (fd >= 0) [[maybe_unused]] ssize_t n = write(fd, &number, 1);
    errno = saved;
}

constexpr int kSignals[] = {SIGCHLD, SIGTERM, SIGHUP, SIGINT};
}  // namespace

SignalWatch::SignalWatch() {
    int fds[2];
    if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    readFd_ = fds[0];
    writeFd_ = fds[1];
    int expected = -1;
    if (!gSignalPipe.compare_exchange_strong(expected, writeFd_))
        throw std::logic_error("only one signal watch at a time");
    struct sigaction action {};
    action.sa_handler = OnSignal;
    action.sa_flags = SA_RESTART | SA_NOCLDSTOP;
    sigemptyset(&action.sa_mask);
    for (int s : kSignals) sigaction(s, &action, nullptr);
}

SignalWatch::~SignalWatch() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int s : kSignals) sigaction(s, &action, nullptr);
    gSignalPipe.store(-1);
    close(readFd_);
    close(writeFd_);
}

int SignalWatch::Take() {
    unsigned char number = 0;
    return read(readFd_, &number, 1) == 1 ? int(number) : 0;
}

}  // namespace platform::posix
