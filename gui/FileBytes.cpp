#include "gui/FileBytes.h"

#include <array>
#include <cstdio>
#include <memory>
#include <system_error>

namespace gui {
namespace {

namespace fs = std::filesystem;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The path in the system's own form: wide on Windows, so that any name opens.
FilePtr Open(const fs::path& path, const char* mode) {
#ifdef _WIN32
    const std::string narrow(mode);
    return FilePtr(_wfopen(path.c_str(), std::wstring(narrow.begin(), narrow.end()).c_str()));
#else
    return FilePtr(std::fopen(path.c_str(), mode));
#endif
}

}  // namespace

std::optional<std::string> ReadFileBytes(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    const FilePtr file = Open(path, "rb");
    if (!file) return std::nullopt;
    std::string bytes;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec) bytes.reserve(std::size_t(size));
    std::array<char, 1 << 16> chunk;
    while (const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get()))
        bytes.append(chunk.data(), got);
    if (std::ferror(file.get())) return std::nullopt;
    return bytes;
}

bool WriteFileBytes(const fs::path& path, std::string_view bytes) {
    FilePtr file = Open(path, "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    return std::fclose(file.release()) == 0 && written;
}

bool IsWritableFile(const fs::path& path) { return Open(path, "r+b") != nullptr; }

}  // namespace gui
