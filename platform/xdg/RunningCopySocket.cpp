#include "platform/xdg/RunningCopySocket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <cstring>
#include <filesystem>
#include <thread>

#include "i18n/Messages.h"
#include "platform/common/SettingsFileKey.h"

namespace platform::xdg {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxMessage = 256;
constexpr char kAnswer[] = "ok";
// How long a later start waits for a holder that has the lock but does not
// listen yet (it is starting) before it counts the request as not taken.
constexpr auto kListenerWait = std::chrono::seconds(3);
// How long the running copy waits for a connected sender's request: the
// sender writes it at once after connecting.
constexpr int kRequestWaitMs = 200;

// A folder of ours alone: a real folder, not a link, owned by us, with no
// permission for the group or others.
bool IsPrivateFolder(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

std::optional<std::string> MakePrivateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return std::nullopt;
    if (!IsPrivateFolder(path)) return std::nullopt;
    return path;
}

std::optional<std::string> RuntimeDirectory() {
    const char* value = std::getenv("XDG_RUNTIME_DIR");
    if (!value || value[0] != '/' || !IsPrivateFolder(value)) return std::nullopt;
    return std::string(value);
}

bool SocketAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

UniqueFd PacketSocket() {
    return UniqueFd(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
}

bool PeerIsUs(int fd) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && peer.uid == ::getuid();
}

bool WaitReadable(int fd, int timeoutMs) {
    pollfd entry{fd, POLLIN, 0};
    int ready;
    do ready = ::poll(&entry, 1, timeoutMs);
    while (ready < 0 && errno == EINTR);
    return ready == 1;
}

}  // namespace

std::optional<std::string> PrivateRuntimeFolder() {
    if (const std::optional<std::string> runtime = RuntimeDirectory())
        if (std::optional<std::string> folder = MakePrivateFolder(*runtime + "/sorimo")) return folder;
    std::error_code ec;
    fs::path temp = fs::temp_directory_path(ec);
    if (ec || !temp.is_absolute()) temp = "/tmp";
    return MakePrivateFolder((temp / ("sorimo-" + std::to_string(::getuid()))).string());
}

bool ClaimRunningCopy(std::unique_ptr<RunningCopySocket>& channel, const std::string& settingsFile,
                      const std::string& message) {
    const std::optional<std::string> folder = PrivateRuntimeFolder();
    if (!folder) {
        std::fprintf(stderr, "sorimo: %s\n",
                     i18n::Tr("No private folder for finding a running copy (another user owns it): "
                              "starting on its own.")
                         .c_str());
        return true;
    }
    channel = std::make_unique<RunningCopySocket>(*folder, RunningCopySocket::KeyFor(settingsFile));
    switch (channel->Claim(message)) {
        case RunningCopySocket::Outcome::Running: return true;
        case RunningCopySocket::Outcome::HandedOver: return false;
        case RunningCopySocket::Outcome::NotDelivered: break;
    }
    throw std::runtime_error(i18n::Format(i18n::Tr("The running copy for %s does not answer."), {settingsFile}));
}

RunningCopySocket::RunningCopySocket(std::string folder, std::string key)
    : lockPath_(folder + "/" + key + ".lock"), socketPath_(folder + "/" + key + ".socket") {}

RunningCopySocket::~RunningCopySocket() {
    // Still holding the lock: no later holder's socket can be removed here.
    if (listener_.Valid()) ::unlink(socketPath_.c_str());
}

std::string RunningCopySocket::KeyFor(const std::string& settingsFile) {
    std::error_code ec;
    std::string resolved = fs::weakly_canonical(settingsFile, ec).string();
    if (ec) resolved = settingsFile;
    return SettingsFileKey(resolved);
}

bool RunningCopySocket::Listen() {
    sockaddr_un address;
    UniqueFd fd = PacketSocket();
    if (!fd.Valid() || !SocketAddress(socketPath_, address)) return false;
    // A socket file left by a copy that crashed; we hold the lock, so it is
    // nobody's now.
    ::unlink(socketPath_.c_str());
    if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd.Get(), 16) != 0)
        return false;
    ::fcntl(fd.Get(), F_SETFL, O_NONBLOCK);
    listener_ = std::move(fd);
    return true;
}

RunningCopySocket::Delivery RunningCopySocket::Deliver(const std::string& message, int answerMs) const {
    sockaddr_un address;
    UniqueFd fd = PacketSocket();
    if (!fd.Valid() || !SocketAddress(socketPath_, address)) return Delivery::Refused;
    if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return errno == ENOENT || errno == ECONNREFUSED ? Delivery::NoListener : Delivery::Refused;
    if (!PeerIsUs(fd.Get())) return Delivery::Refused;
    const std::size_t size = std::min(message.size(), kMaxMessage);
    if (::send(fd.Get(), message.data(), size, MSG_NOSIGNAL) != ssize_t(size)) return Delivery::Refused;
    char answer[sizeof kAnswer] = {};
    if (!WaitReadable(fd.Get(), answerMs)) return Delivery::Refused;
    const ssize_t got = ::recv(fd.Get(), answer, sizeof answer, 0);
    return got == ssize_t(sizeof kAnswer - 1) && std::memcmp(answer, kAnswer, size_t(got)) == 0
               ? Delivery::Taken
               : Delivery::Refused;
}

RunningCopySocket::Outcome RunningCopySocket::Claim(const std::string& message, int answerMs) {
    lock_ = UniqueFd(::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    // No lock file in our own folder: nothing to coordinate through, so run.
    if (!lock_.Valid()) return Outcome::Running;
    const auto deadline = std::chrono::steady_clock::now() + kListenerWait;
    for (;;) {
        if (::flock(lock_.Get(), LOCK_EX | LOCK_NB) == 0) {
            Listen();  // without a socket this copy still runs, only unreachable
            return Outcome::Running;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) return Outcome::Running;
        switch (Deliver(message, answerMs)) {
            case Delivery::Taken: lock_.Reset(); return Outcome::HandedOver;
            case Delivery::Refused: lock_.Reset(); return Outcome::NotDelivered;
            case Delivery::NoListener: break;  // starting, or just ended: ask again
        }
        if (std::chrono::steady_clock::now() > deadline) {
            lock_.Reset();
            return Outcome::NotDelivered;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::vector<std::string> RunningCopySocket::TakeMessages() {
    std::vector<std::string> messages;
    if (!listener_.Valid()) return messages;
    for (;;) {
        UniqueFd peer(::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!peer.Valid()) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return messages;  // EAGAIN: nobody else waits
        }
        if (!PeerIsUs(peer.Get()) || !WaitReadable(peer.Get(), kRequestWaitMs)) continue;
        char data[kMaxMessage];
        const ssize_t size = ::recv(peer.Get(), data, sizeof data, MSG_DONTWAIT);
        if (size <= 0) continue;
        messages.emplace_back(data, std::size_t(size));
        ::send(peer.Get(), kAnswer, sizeof kAnswer - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    }
}

}  // namespace platform::xdg
