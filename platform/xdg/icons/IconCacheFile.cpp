#include "platform/xdg/icons/IconCacheFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <cstring>
#include <utility>

#include "platform/xdg/UniqueFd.h"

namespace platform::xdg {

namespace {

// Header: major and minor version (CARD16), then the offsets of the hash
// table and of the directory list (CARD32). Every number is big-endian,
// every offset counts from the start of the file.
constexpr std::uint16_t kMajorVersion = 1;
constexpr std::uint32_t kHashOffsetAt = 4;
constexpr std::uint32_t kDirectoryListOffsetAt = 8;
constexpr std::uint16_t kHasPng = 4;
// A chain longer than this can only be a loop in a damaged file.
constexpr int kLongestChain = 1 << 16;

// The hash the cache's writers use; char is signed as they read it.
std::uint32_t NameHash(const std::string& name) {
    if (name.empty()) return 0;
    std::uint32_t h = std::uint32_t(static_cast<signed char>(name[0]));
    for (std::size_t i = 1; i < name.size(); ++i)
        h = (h << 5) - h + std::uint32_t(static_cast<signed char>(name[i]));
    return h;
}

bool StaleOrMissing(const std::string& root, const std::string& file) {
    struct stat folder {};
    struct stat cache {};
    if (::stat(root.c_str(), &folder) != 0 || ::stat(file.c_str(), &cache) != 0) return true;
    return folder.st_mtime > cache.st_mtime || cache.st_size <= 0;
}

}  // namespace

std::optional<IconCacheFile> IconCacheFile::Open(const std::string& root) {
    const std::string file = root + "/icon-theme.cache";
    if (StaleOrMissing(root, file)) return std::nullopt;
    // O_NONBLOCK: a named pipe in its place must not hold the open.
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat info {};
    if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size < 12 || std::uintmax_t(info.st_size) > kMaxBytes)
        return std::nullopt;
    const std::size_t size = std::size_t(info.st_size);
    void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.Get(), 0);
    if (mapped == MAP_FAILED) return std::nullopt;
    return Checked(IconCacheFile(static_cast<const std::uint8_t*>(mapped), size, true));
}

std::optional<IconCacheFile> IconCacheFile::FromBytes(const std::uint8_t* bytes, std::size_t size) {
    return Checked(IconCacheFile(bytes, size, false));
}

// A cache whose tables lie outside it is damaged: the folders are listed
// instead.
std::optional<IconCacheFile> IconCacheFile::Checked(IconCacheFile cache) {
    const auto hash = cache.Card32(kHashOffsetAt);
    const auto directories = cache.Card32(kDirectoryListOffsetAt);
    if (cache.Card16(0) != kMajorVersion || !hash || !cache.Card32(*hash) || !directories ||
        !cache.Card32(*directories))
        return std::nullopt;
    return cache;
}

IconCacheFile::~IconCacheFile() {
    if (bytes_ && mapped_) ::munmap(const_cast<std::uint8_t*>(bytes_), size_);
}

IconCacheFile::IconCacheFile(IconCacheFile&& other) noexcept
    : bytes_(std::exchange(other.bytes_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, false)) {}

std::vector<std::string_view> IconCacheFile::PngDirectories(const std::string& name) const {
    std::vector<std::string_view> dirs;
    const auto icon = FindIcon(name);
    if (!icon) return dirs;
    const auto list = Card32(std::uint64_t(*icon) + 8);
    const auto count = list ? Card32(*list) : std::nullopt;
    if (!count) return dirs;
    for (std::uint64_t i = 0; i < *count; ++i) {
        const std::uint64_t image = std::uint64_t(*list) + 4 + i * 8;
        const auto dir = Card16(image);
        const auto flags = Card16(image + 2);
        if (!dir || !flags) break;
        if (!(*flags & kHasPng)) continue;
        if (auto path = Directory(*dir)) dirs.push_back(*path);
    }
    return dirs;
}

// Hash: bucket count, then per bucket the offset of the first icon; each
// icon holds the offset of the next in its chain, of its name and of its
// image list.
std::optional<std::uint32_t> IconCacheFile::FindIcon(const std::string& name) const {
    const auto hash = Card32(kHashOffsetAt);
    const auto buckets = hash ? Card32(*hash) : std::nullopt;
    if (!buckets || *buckets == 0) return std::nullopt;
    auto icon = Card32(std::uint64_t(*hash) + 4 + 4 * std::uint64_t(NameHash(name) % *buckets));
    for (int step = 0; icon && *icon != 0xFFFFFFFF && step < kLongestChain; ++step) {
        const auto nameAt = Card32(std::uint64_t(*icon) + 4);
        if (!nameAt) return std::nullopt;
        if (String(*nameAt) == name) return icon;
        icon = Card32(*icon);
    }
    return std::nullopt;
}

std::optional<std::string_view> IconCacheFile::Directory(std::uint16_t index) const {
    const auto list = Card32(kDirectoryListOffsetAt);
    const auto count = list ? Card32(*list) : std::nullopt;
    if (!count || index >= *count) return std::nullopt;
    const auto at = Card32(std::uint64_t(*list) + 4 + 4 * std::uint64_t(index));
    return at ? String(*at) : std::nullopt;
}

std::optional<std::uint32_t> IconCacheFile::Card32(std::uint64_t offset) const {
    if (offset + 4 > size_) return std::nullopt;
    const std::uint8_t* p = bytes_ + offset;
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

std::optional<std::uint16_t> IconCacheFile::Card16(std::uint64_t offset) const {
    if (offset + 2 > size_) return std::nullopt;
    return std::uint16_t(bytes_[offset] << 8 | bytes_[offset + 1]);
}

std::optional<std::string_view> IconCacheFile::String(std::uint64_t offset) const {
    if (offset >= size_) return std::nullopt;
    const char* start = reinterpret_cast<const char*>(bytes_ + offset);
    const void* end = std::memchr(start, '\0', size_ - offset);
    if (!end) return std::nullopt;
    return std::string_view(start, std::size_t(static_cast<const char*>(end) - start));
}

}  // namespace platform::xdg
