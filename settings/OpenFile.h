// Opening a file through the C library by its path in the system's own form.
// One implementation per platform (OpenFilePosix.cpp, OpenFileWin32.cpp),
// chosen by the build.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>

namespace gui {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// fopen with `mode`; null when the file cannot be opened.
FilePtr OpenFile(const std::filesystem::path& path, const char* mode);

}  // namespace gui
