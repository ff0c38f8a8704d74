#include "platform/xdg/launch/LaunchDecision.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/xdg/UniqueFd.h"

namespace platform::xdg {

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// A file we may execute but not read is run all the same: only the kernel
// can tell whether it is a program.
// Opened without waiting, in case the file became a named pipe meanwhile.
bool StartsLikeProgram(const std::string& path) {
    const UniqueFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!file.Valid()) return errno == EACCES;
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    char head[4] = {};
    const ssize_t got = ::read(file.Get(), head, sizeof head);
    if (got >= 2 && head[0] == '#' && head[1] == '!') return true;
    return got == 4 && std::memcmp(head, "\x7f" "ELF", 4) == 0;
}

}  // namespace

LaunchKind ClassifyLaunch(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return LaunchKind::Missing;
    if (!S_ISREG(info.st_mode)) return LaunchKind::Document;
    if (EndsWith(path, ".desktop")) return LaunchKind::DesktopEntry;
    const bool executable = (info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0;
    return executable && StartsLikeProgram(path) ? LaunchKind::Program : LaunchKind::Document;
}

}  // namespace platform::xdg
