// One running copy per settings file on Linux. The channel lies in a folder
// that only the user can enter (PrivateRuntimeFolder), so no other user can
// take its name, read what is sent or send anything: the running copy holds
// a lock file there for as long as it runs and listens on a socket beside
// it; a later start finds the lock taken, connects, hands over its request
// and waits for the running copy's answer. The kernel drops the lock with
// the holder's last descriptor, so a copy that crashed leaves nothing in
// the way; its socket file is replaced by the next holder. Both ends check
// the other's user id as well.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/xdg/UniqueFd.h"

namespace platform::xdg {

// The folder of the user's running-copy channels, made when missing:
// $XDG_RUNTIME_DIR/sorimo when that variable names an absolute folder of the
// user's own that no one else may enter, else sorimo-<uid> in the temporary
// folder. Each is made 0700 and used only when it is a real folder (not a
// link) owned by the user with no access for others; nothing when neither
// is (a folder of that name that another user made first).
std::optional<std::string> PrivateRuntimeFolder();

class RunningCopySocket;

// What a Linux backend does to become the running copy for `settingsFile`:
// true when this process is it (then `channel` holds the socket to poll),
// false when the running copy took `message`. Without a private folder the
// process runs on its own and says so on stderr. Throws std::runtime_error
// (in the user's language) when a running copy does not take the message.
bool ClaimRunningCopy(std::unique_ptr<RunningCopySocket>& channel, const std::string& settingsFile,
                      const std::string& message);

class RunningCopySocket {
public:
    // `folder` must be a private folder (PrivateRuntimeFolder); `key` names
    // the lock and the socket in it.
    RunningCopySocket(std::string folder, std::string key);
    ~RunningCopySocket();
    RunningCopySocket(const RunningCopySocket&) = delete;
    RunningCopySocket& operator=(const RunningCopySocket&) = delete;

    // The key for a settings file: a key of its resolved path (links
    // followed, "." and ".." gone), so one file reached by two paths is one.
    static std::string KeyFor(const std::string& settingsFile);

    enum class Outcome {
        Running,       // this process is the running copy
        HandedOver,    // another copy runs and has taken `message`
        NotDelivered,  // another copy holds the lock but did not take it
    };
    // Becomes the running copy, or hands `message` (at most 256 bytes) to
    // the one that runs and waits up to `answerMs` for it to confirm.
    Outcome Claim(const std::string& message, int answerMs = 5000);

    // The listening socket, for the loop's poll; -1 when not running.
    int Fd() const { return listener_.Get(); }
    // The requests waiting, oldest first, each confirmed to its sender.
    std::vector<std::string> TakeMessages();

private:
    bool Listen();
    enum class Delivery { Taken, NoListener, Refused };
    Delivery Deliver(const std::string& message, int answerMs) const;

    std::string lockPath_;
    std::string socketPath_;
    UniqueFd lock_;
    UniqueFd listener_;
};

}  // namespace platform::xdg
