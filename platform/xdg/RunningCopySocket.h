// One running copy per settings file on Linux. The running copy binds a
// datagram socket in the abstract namespace under a name made from the
// user and the settings file; a later start finds the name taken, sends its
// request there as one datagram and ends. The kernel frees an abstract name
// with its last descriptor, so a copy that crashed leaves nothing behind,
// and bind() decides between two starts at the same moment. The socket is
// read without blocking from the event loop's poll; datagrams from other
// users are dropped.
#pragma once

#include <string>
#include <vector>

#include "platform/xdg/UniqueFd.h"

namespace platform::xdg {

class RunningCopySocket {
public:
    // `name` goes into the abstract namespace as it is (at most 100 bytes).
    explicit RunningCopySocket(std::string name);

    // The name for a settings file: the user's id and a key of the file's
    // resolved path (links followed, "." and ".." gone), so that one file
    // reached by two paths is one name.
    static std::string NameFor(const std::string& settingsFile);

    enum class Outcome {
        Running,     // this process holds the name (or could make no socket)
        HandedOver,  // another process holds it and got the message
    };
    // Binds the name, or sends `message` (at most 256 bytes) to the process
    // that holds it. A process that goes away between the two is taken
    // over. When no socket can be made this process runs on its own.
    Outcome Claim(const std::string& message);

    // The bound socket, for the loop's poll; -1 when not bound.
    int Fd() const { return socket_.Get(); }
    // The messages waiting, oldest first; never blocks.
    std::vector<std::string> TakeMessages();

private:
    int Bind();                                  // 0 or an errno value
    int Send(const std::string& message) const;  // 0 or an errno value

    std::string name_;
    UniqueFd socket_;
};

}  // namespace platform::xdg
