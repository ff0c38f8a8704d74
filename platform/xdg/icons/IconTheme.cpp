#include "platform/xdg/icons/IconTheme.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <limits>

#include "platform/xdg/KeyFile.h"

namespace platform::xdg {

namespace {

namespace fs = std::filesystem;

constexpr char kThemeGroup[] = "Icon Theme";
// The largest index.theme read. Big themes' indexes hold a few hundred
// directories in well under 100 KiB.
constexpr std::uintmax_t kMaxIndexBytes = 1 << 20;
// No picture is wider than this many pixels (nor its scale larger).
constexpr int kLargestSize = 1 << 16;
constexpr char kPngSuffix[] = ".png";
// Monochrome pictograms drawn for toolbars, not pictures of files.
constexpr char kSymbolicSuffix[] = ".symbolic.png";

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool IsDirectory(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

IconDirectory::Kind KindOf(const KeyFile& index, const std::string& group) {
    const std::string type = index.Value(group, "Type").value_or("");
    if (type == "Fixed") return IconDirectory::Kind::Fixed;
    if (type == "Scalable") return IconDirectory::Kind::Scalable;
    return IconDirectory::Kind::Threshold;
}

// Nothing for a directory without a size: the rules require one.
std::optional<IconDirectory> ReadDirectory(const KeyFile& index, const std::string& path) {
    const int size = index.Integer(path, "Size").value_or(0);
    if (size <= 0) return std::nullopt;
    // Numbers beyond any picture's are brought into range, so that sizes
    // can be compared without overflow.
    auto limited = [](int v, int low) { return std::clamp(v, low, kLargestSize); };
    IconDirectory dir;
    dir.Path = path;
    dir.Type = KindOf(index, path);
    dir.Size = limited(size, 1);
    dir.Scale = limited(index.Integer(path, "Scale").value_or(1), 1);
    dir.MinSize = limited(index.Integer(path, "MinSize").value_or(size), 0);
    dir.MaxSize = limited(index.Integer(path, "MaxSize").value_or(size), 0);
    dir.Threshold = limited(index.Integer(path, "Threshold").value_or(2), 0);
    return dir;
}

std::vector<IconDirectory> OrderForSize(std::vector<IconDirectory> dirs, int size) {
    std::stable_sort(dirs.begin(), dirs.end(), [size](const auto& a, const auto& b) {
        const bool aMatches = MatchesSize(a, size);
        if (aMatches != MatchesSize(b, size)) return aMatches;
        return SizeDistance(a, size) < SizeDistance(b, size);
    });
    return dirs;
}

}  // namespace

bool MatchesSize(const IconDirectory& dir, int size) {
    if (dir.Scale != 1) return false;
    switch (dir.Type) {
        case IconDirectory::Kind::Fixed: return dir.Size == size;
        case IconDirectory::Kind::Scalable: return dir.MinSize <= size && size <= dir.MaxSize;
        case IconDirectory::Kind::Threshold:
            return std::int64_t(dir.Size) - dir.Threshold <= size &&
                   size <= std::int64_t(dir.Size) + dir.Threshold;
    }
    return false;
}

// In 64 bits: with the numbers limited as ReadDirectory limits them, no
// sum or product comes near overflowing.
int SizeDistance(const IconDirectory& dir, int size) {
    const std::int64_t scale = dir.Scale;
    std::int64_t low = dir.Size * scale;
    std::int64_t high = low;
    if (dir.Type == IconDirectory::Kind::Scalable) {
        low = dir.MinSize * scale;
        high = dir.MaxSize * scale;
    } else if (dir.Type == IconDirectory::Kind::Threshold) {
        low = (std::int64_t(dir.Size) - dir.Threshold) * scale;
        high = (std::int64_t(dir.Size) + dir.Threshold) * scale;
    }
    std::int64_t distance = 0;
    if (size < low) distance = low - size;
    if (size > high) distance = size - high;
    return int(std::min<std::int64_t>(distance, std::numeric_limits<int>::max()));
}

std::optional<IconTheme> IconTheme::Load(const std::string& name,
                                         const std::vector<std::string>& baseDirs, int size) {
    std::vector<Root> roots;
    std::optional<KeyFile> index;
    for (const std::string& base : baseDirs) {
        const std::string root = base + "/" + name;
        if (!IsDirectory(root)) continue;
        roots.push_back(Root{root, IconCacheFile::Open(root), false, {}});
        if (!index) index = KeyFile::Load(root + "/index.theme", kMaxIndexBytes);
    }
    if (!index) return std::nullopt;
    IconTheme theme = FromIndex(*index, size);
    theme.roots_ = std::move(roots);
    return theme;
}

IconTheme IconTheme::FromIndex(const KeyFile& index, int size) {
    IconTheme theme;
    theme.parents_ = index.List(kThemeGroup, "Inherits");
    std::vector<IconDirectory> dirs;
    for (const char* key : {"Directories", "ScaledDirectories"})
        for (const std::string& path : index.List(kThemeGroup, key))
            if (auto dir = ReadDirectory(index, path)) dirs.push_back(*dir);
    theme.directories_ = OrderForSize(std::move(dirs), size);
    for (std::size_t rank = 0; rank < theme.directories_.size(); ++rank)
        theme.rankOf_.try_emplace(theme.directories_[rank].Path, rank);
    return theme;
}

std::optional<std::string> IconTheme::Find(const std::string& iconName) {
    std::optional<Place> best;
    for (std::size_t r = 0; r < roots_.size(); ++r)
        if (auto rank = BestDirectory(roots_[r], iconName))
            if (!best || Place{*rank, r} < *best) best = Place{*rank, r};
    if (!best) return std::nullopt;
    return roots_[best->second].Path + "/" + directories_[best->first].Path + "/" + iconName +
           kPngSuffix;
}

// Directories the index does not name are not part of the theme and are
// left out, whatever the cache says.
std::optional<std::size_t> IconTheme::BestDirectory(Root& root, const std::string& iconName) {
    std::optional<std::size_t> best;
    if (root.Cache) {
        for (std::string_view dir : root.Cache->PngDirectories(iconName)) {
            const auto it = rankOf_.find(std::string(dir));
            if (it != rankOf_.end() && (!best || it->second < *best)) best = it->second;
        }
        return best;
    }
    if (!root.Listed) List(root);
    if (const auto it = root.Listing.find(iconName); it != root.Listing.end()) best = it->second;
    return best;
}

// Directories in search order: the first directory a name is seen in is
// its best, so the table keeps only that one.
void IconTheme::List(Root& root) {
    root.Listed = true;
    for (std::size_t rank = 0; rank < directories_.size(); ++rank) {
        std::error_code ec;
        const fs::path folder = fs::path(root.Path) / directories_[rank].Path;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string file = it->path().filename().string();
            if (!EndsWith(file, kPngSuffix) || EndsWith(file, kSymbolicSuffix)) continue;
            root.Listing.try_emplace(file.substr(0, file.size() - (sizeof kPngSuffix - 1)), rank);
        }
    }
}

}  // namespace platform::xdg
