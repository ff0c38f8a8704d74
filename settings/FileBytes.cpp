#include "settings/FileBytes.h"

#include <array>
#include <cstdio>
#include <system_error>

#include "settings/OpenFile.h"

namespace gui {

namespace fs = std::filesystem;

std::optional<std::string> ReadFileBytes(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    const FilePtr file = OpenFile(path, "rb");
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
    FilePtr file = OpenFile(path, "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    return std::fclose(file.release()) == 0 && written;
}

bool IsWritableFile(const fs::path& path) { return OpenFile(path, "r+b") != nullptr; }

}  // namespace gui
