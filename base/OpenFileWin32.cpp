#include "base/OpenFile.h"

#include <sys/stat.h>

#include <string>

namespace base {

// The wide path, so that any name opens whatever the ANSI code page holds.
FilePtr OpenFile(const std::filesystem::path& path, const char* mode) {
    const std::string narrow(mode);
    return FilePtr(_wfopen(path.c_str(), std::wstring(narrow.begin(), narrow.end()).c_str()));
}

FilePtr OpenRegularFile(const std::filesystem::path& path, std::uintmax_t& size) {
    FilePtr file = OpenFile(path, "rb");
    if (!file) return nullptr;
    struct _stat64 info {};
    if (_fstat64(_fileno(file.get()), &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG)
        return nullptr;
    size = std::uintmax_t(info.st_size);
    return file;
}

}  // namespace base
