// Signals as file-descriptor events: SIGCHLD, SIGTERM, SIGHUP and SIGINT are
// caught by a handler that only writes the signal number into a pipe; the
// event loop polls the pipe's read end. (Blocking the signals and reading a
// signalfd instead would leave them blocked in every program we launch.)
#pragma once

namespace platform::posix {

class SignalWatch {
public:
    // Installs the handlers; only one watch may exist at a time.
    SignalWatch();
    ~SignalWatch();
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

    int Fd() const { return readFd_; }
    // Reads one pending signal number, or 0 when none is pending.
    int Take();

private:
    int readFd_ = -1;
    int writeFd_ = -1;
};

}  // namespace platform::posix
