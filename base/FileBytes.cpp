#include "base/FileBytes.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>
#include <system_error>

#include "base/OpenFile.h"

namespace base {

namespace fs = std::filesystem;

std::optional<std::string> ReadFileBytes(const fs::path& path) {
    return ReadFileBytes(path, std::numeric_limits<std::uintmax_t>::max() - 1);
}

std::optional<std::string> ReadFileBytes(const fs::path& path, std::uintmax_t maxBytes) {
    // Checked by name first, so that a device is not even opened (opening
    // some has effects); the open checks again on the file it got.
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    std::uintmax_t size = 0;
    const FilePtr file = OpenRegularFile(path, size);
    if (!file || size > maxBytes) return std::nullopt;
    std::string bytes;
    bytes.reserve(std::size_t(size));
    std::array<char, 1 << 16> chunk;
    const std::uintmax_t limit = maxBytes + 1;
    while (bytes.size() < limit) {
        const std::size_t want = std::size_t(std::min<std::uintmax_t>(chunk.size(), limit - bytes.size()));
        const std::size_t got = std::fread(chunk.data(), 1, want, file.get());
        if (got == 0) break;
        bytes.append(chunk.data(), got);
    }
    if (std::ferror(file.get()) || bytes.size() > maxBytes) return std::nullopt;
    return bytes;
}

bool WriteFileBytes(const fs::path& path, std::string_view bytes) {
    FilePtr file = OpenFile(path, "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    return std::fclose(file.release()) == 0 && written;
}

bool IsWritableFile(const fs::path& path) { return OpenFile(path, "r+b") != nullptr; }

}  // namespace base
