// The icon-theme.cache file that desktops keep in a theme folder: a hash
// table from icon name to the directories holding a picture of it, read in
// place from a read-only mapping. With it, finding an icon costs a few
// memory reads instead of listing the theme's directories.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::xdg {

class IconCacheFile {
public:
    // The cache of the theme folder `root`, or nothing when it has none,
    // when the folder changed after the cache was written (a stale cache
    // would hide new icons) or when it is damaged or of a version we do not read.
    // A cache larger than kMaxBytes, or one that is not a regular file,
    // counts as none.
    static std::optional<IconCacheFile> Open(const std::string& root);
    // A cache held in memory that outlives the object; nothing when it is
    // damaged or of another version, as for Open.
    static std::optional<IconCacheFile> FromBytes(const std::uint8_t* bytes, std::size_t size);
    // Caches of the biggest themes take a few MiB.
    static constexpr std::size_t kMaxBytes = std::size_t(32) << 20;
    ~IconCacheFile();
    IconCacheFile(IconCacheFile&& other) noexcept;
    IconCacheFile& operator=(IconCacheFile&&) = delete;
    IconCacheFile(const IconCacheFile&) = delete;
    IconCacheFile& operator=(const IconCacheFile&) = delete;

    // The directories (relative to the root) holding `name`.png. Offsets
    // that point outside the file end the answer early, never a read.
    std::vector<std::string_view> PngDirectories(const std::string& name) const;

private:
    IconCacheFile(const std::uint8_t* bytes, std::size_t size, bool mapped)
        : bytes_(bytes), size_(size), mapped_(mapped) {}
    static std::optional<IconCacheFile> Checked(IconCacheFile cache);
    std::optional<std::uint32_t> Card32(std::uint64_t offset) const;
    std::optional<std::uint16_t> Card16(std::uint64_t offset) const;
    std::optional<std::string_view> String(std::uint64_t offset) const;
    std::optional<std::uint32_t> FindIcon(const std::string& name) const;
    std::optional<std::string_view> Directory(std::uint16_t index) const;

    const std::uint8_t* bytes_;
    std::size_t size_;
    bool mapped_;  // the bytes are our mapping of the file
};

}  // namespace platform::xdg
