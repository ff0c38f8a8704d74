#include "platform/xdg/RunningCopySocket.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <filesystem>

#include "platform/common/SettingsFileKey.h"

namespace platform::xdg {

namespace {
constexpr std::size_t kMaxMessage = 256;
// Takes over from holders that end between our bind and our send, a few
// times at most: a name that stays taken and refuses is given up on.
constexpr int kAttempts = 8;

// The abstract address: a NUL byte, then the name (no terminator).
socklen_t Address(const std::string& name, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    const std::size_t length = std::min(name.size(), sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, name.data(), length);
    return socklen_t(offsetof(sockaddr_un, sun_path) + 1 + length);
}

UniqueFd DatagramSocket() {
    return UniqueFd(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
}
}  // namespace

RunningCopySocket::RunningCopySocket(std::string name) : name_(std::move(name)) {}

std::string RunningCopySocket::NameFor(const std::string& settingsFile) {
    std::error_code ec;
    std::string resolved = std::filesystem::weakly_canonical(settingsFile, ec).string();
    if (ec) resolved = settingsFile;
    return "sorimo/" + std::to_string(::getuid()) + "/" + SettingsFileKey(resolved);
}

int RunningCopySocket::Bind() {
    UniqueFd fd = DatagramSocket();
    if (!fd.Valid()) return errno;
    // Before the bind: every datagram that can arrive carries its sender.
    const int on = 1;
    ::setsockopt(fd.Get(), SOL_SOCKET, SO_PASSCRED, &on, sizeof on);
    sockaddr_un address;
    const socklen_t length = Address(name_, address);
    if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), length) != 0) return errno;
    socket_ = std::move(fd);
    return 0;
}

int RunningCopySocket::Send(const std::string& message) const {
    UniqueFd fd = DatagramSocket();
    if (!fd.Valid()) return errno;
    sockaddr_un address;
    const socklen_t length = Address(name_, address);
    const std::size_t size = std::min(message.size(), kMaxMessage);
    if (::sendto(fd.Get(), message.data(), size, MSG_NOSIGNAL,
                 reinterpret_cast<const sockaddr*>(&address), length) < 0)
        return errno;
    return 0;
}

RunningCopySocket::Outcome RunningCopySocket::Claim(const std::string& message) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const int bound = Bind();
        if (bound == 0) return Outcome::Running;
        if (bound != EADDRINUSE) return Outcome::Running;  // no sockets here: run alone
        const int error = Send(message);
        if (error == 0) return Outcome::HandedOver;
        // The holder's queue is full: it runs, but hangs. Starting beside it
        // would bring back the overwritten settings; it has been asked.
        if (error == EAGAIN) return Outcome::HandedOver;
        // ECONNREFUSED: the holder ended after our bind; try again.
    }
    return Outcome::HandedOver;
}

std::vector<std::string> RunningCopySocket::TakeMessages() {
    std::vector<std::string> messages;
    if (!socket_.Valid()) return messages;
    for (;;) {
        char data[kMaxMessage];
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
        iovec part{data, sizeof data};
        msghdr header{};
        header.msg_iov = &part;
        header.msg_iovlen = 1;
        header.msg_control = control;
        header.msg_controllen = sizeof control;
        const ssize_t size = ::recvmsg(socket_.Get(), &header, MSG_DONTWAIT);
        if (size < 0) {
            if (errno == EINTR) continue;
            return messages;  // EAGAIN: nothing more waits
        }
        const cmsghdr* c = CMSG_FIRSTHDR(&header);
        if (!c || c->cmsg_level != SOL_SOCKET || c->cmsg_type != SCM_CREDENTIALS) continue;
        ucred sender;
        std::memcpy(&sender, CMSG_DATA(c), sizeof sender);
        if (sender.uid != ::getuid()) continue;
        messages.emplace_back(data, std::size_t(size));
    }
}

}  // namespace platform::xdg
