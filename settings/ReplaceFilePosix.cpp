#include "settings/ReplaceFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace settings {

namespace {

namespace fs = std::filesystem;

std::error_code LastError() { return {errno, std::generic_category()}; }

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }

private:
    int fd_;
};

bool WriteAllAt(int fd, std::string_view bytes, off_t offset) {
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        bytes.remove_prefix(std::size_t(n));
        offset += n;
    }
    return true;
}

// The name a replace gives its new file while linking it in, and the name
// of a named temporary file: "<file>.<pid>.tmp".
std::string TempName(const std::string& base) { return base + "." + std::to_string(::getpid()) + ".tmp"; }

// Removes "<file>.<number>.tmp" files beside the target whose process no
// longer runs: left by a copy killed in the middle of a replace (the number
// of earlier versions was random, never a running process).
void RemoveStaleTempFiles(int folder, const std::string& base) {
    const int copy = ::dup(folder);
    if (copy < 0) return;
    DIR* dir = ::fdopendir(copy);
    if (!dir) {
        ::close(copy);
        return;
    }
    const std::string prefix = base + ".";
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 20) continue;
        const unsigned long long number = std::strtoull(digits.c_str(), nullptr, 10);
        const bool running = number > 0 && number <= 0x3FFFFFFF && (::kill(pid_t(number), 0) == 0 || errno == EPERM);
        if (!running) ::unlinkat(folder, name.c_str(), 0);
    }
    ::closedir(dir);
}

// Fills a new file, sets its permissions and flushes it.
bool Fill(int fd, std::string_view bytes, std::optional<mode_t> mode) {
    if (mode && ::fchmod(fd, *mode) != 0) return false;
    return WriteAllAt(fd, bytes, 0) && ::fsync(fd) == 0;
}

enum class Step { Done, FolderRefused, Failed };

// The new content in a file without a name, linked in under a temporary
// name and renamed over the target only when complete.
Step ReplaceThroughUnnamedFile(int folder, const std::string& base, std::string_view bytes,
                               std::optional<mode_t> mode, std::error_code& error) {
    // A new file gets the permissions the umask allows, as any new file.
    Fd file(::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode ? 0600 : 0666));
    if (!file.Valid()) {
        error = LastError();
        if (errno == EACCES || errno == EROFS || errno == EPERM) return Step::FolderRefused;
        return Step::Failed;  // no unnamed files here (EOPNOTSUPP, EISDIR): try a named one
    }
    if (!Fill(file.Get(), bytes, mode)) {
        error = LastError();
        return Step::Done;
    }
    const std::string temp = TempName(base);
    ::unlinkat(folder, temp.c_str(), 0);
    const std::string self = "/proc/self/fd/" + std::to_string(file.Get());
    if (::linkat(AT_FDCWD, self.c_str(), folder, temp.c_str(), AT_SYMLINK_FOLLOW) != 0) {
        error = LastError();
        return Step::Failed;
    }
    if (::renameat(folder, temp.c_str(), folder, base.c_str()) != 0) {
        error = LastError();
        ::unlinkat(folder, temp.c_str(), 0);
        return Step::Done;
    }
    error.clear();
    return Step::Done;
}

// The same through a named temporary file, for file systems without
// unnamed ones. It is made with its final permissions.
Step ReplaceThroughNamedFile(int folder, const std::string& base, std::string_view bytes,
                             std::optional<mode_t> mode, std::error_code& error) {
    const std::string temp = TempName(base);
    ::unlinkat(folder, temp.c_str(), 0);
    Fd file(::openat(folder, temp.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW,
                     mode ? *mode & 0777 : 0666));
    if (!file.Valid()) {
        error = LastError();
        return errno == EACCES || errno == EROFS || errno == EPERM ? Step::FolderRefused : Step::Done;
    }
    if (!Fill(file.Get(), bytes, mode) || ::renameat(folder, temp.c_str(), folder, base.c_str()) != 0) {
        error = LastError();
        ::unlinkat(folder, temp.c_str(), 0);
        return Step::Done;
    }
    error.clear();
    return Step::Done;
}

}  // namespace

// The space is reserved first; where the file system cannot reserve, the
// part beyond the old end is written first and taken back when it does not
// fit, so the old bytes are overwritten only once the new ones have their
// place.
std::error_code RewriteFileInPlace(const fs::path& target, std::string_view bytes) {
    Fd file(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat info {};
    if (!file.Valid() || ::fstat(file.Get(), &info) != 0) return LastError();
    if (!S_ISREG(info.st_mode)) return std::make_error_code(std::errc::invalid_argument);
    const off_t oldSize = info.st_size;
    const off_t newSize = off_t(bytes.size());
    if (newSize > 0 && ::fallocate(file.Get(), FALLOC_FL_KEEP_SIZE, 0, newSize) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS)
        return LastError();
    if (newSize > oldSize && !WriteAllAt(file.Get(), bytes.substr(std::size_t(oldSize)), oldSize)) {
        const std::error_code error = LastError();
        [[maybe_unused]] const int cut = ::ftruncate(file.Get(), oldSize);
        return error;
    }
    if (!WriteAllAt(file.Get(), bytes.substr(0, std::size_t(std::min(oldSize, newSize))), 0) ||
        (newSize < oldSize && ::ftruncate(file.Get(), newSize) != 0) || ::fsync(file.Get()) != 0)
        return LastError();
    return {};
}

std::error_code ReplaceFileContent(const fs::path& target, std::string_view bytes) {
    const fs::path folderPath = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string base = target.filename().string();
    Fd folder(::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.Valid()) return LastError();
    struct stat info {};
    std::optional<mode_t> mode;
    if (::fstatat(folder.Get(), base.c_str(), &info, 0) == 0) {
        if (!S_ISREG(info.st_mode)) return std::make_error_code(std::errc::invalid_argument);
        // A file the user may not write stays as it is, though its folder
        // would let it be replaced.
        if (::faccessat(folder.Get(), base.c_str(), W_OK, AT_EACCESS) != 0) return LastError();
        mode = info.st_mode & 07777;
    } else if (errno != ENOENT) {
        return LastError();
    }
    RemoveStaleTempFiles(folder.Get(), base);
    std::error_code error;
    Step step = ReplaceThroughUnnamedFile(folder.Get(), base, bytes, mode, error);
    if (step == Step::Failed) step = ReplaceThroughNamedFile(folder.Get(), base, bytes, mode, error);
    if (step == Step::FolderRefused && mode) return RewriteFileInPlace(target, bytes);
    if (!error) ::fsync(folder.Get());  // the rename itself reaches the disk
    return error;
}

}  // namespace settings
