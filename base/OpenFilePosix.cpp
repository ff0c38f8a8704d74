#include "base/OpenFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace base {

FilePtr OpenFile(const std::filesystem::path& path, const char* mode) {
    return FilePtr(std::fopen(path.c_str(), mode));
}

FilePtr OpenRegularFile(const std::filesystem::path& path, std::uintmax_t& size) {
    // O_NONBLOCK: opening a FIFO for reading would wait for a writer. It
    // changes nothing for the regular file that is then read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    size = std::uintmax_t(info.st_size);
    FilePtr file(::fdopen(fd, "rb"));
    if (!file) ::close(fd);
    return file;
}

}  // namespace base
