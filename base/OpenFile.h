// Opening a file through the C library by its path in the system's own form.
// One implementation per platform (OpenFilePosix.cpp, OpenFileWin32.cpp),
// chosen by the build.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace base {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// fopen with `mode`; null when the file cannot be opened.
FilePtr OpenFile(const std::filesystem::path& path, const char* mode);

// Opens a file for reading when it is a regular file, else null. The open
// itself never waits (a named pipe without a writer, a device), and the
// kind is checked on the opened file, so a path swapped for something else
// after a check is still refused. `size` receives the file's length.
FilePtr OpenRegularFile(const std::filesystem::path& path, std::uintmax_t& size);

}  // namespace base
