#include "platform/xdg/IconTheme.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/xdg/KeyFile.h"

namespace platform::xdg {

namespace {

namespace fs = std::filesystem;

constexpr char kThemeGroup[] = "Icon Theme";
// The largest index.theme read. Big themes' indexes hold a few hundred
// directories in well under 100 KiB.
constexpr std::uintmax_t kMaxIndexBytes = 1 << 20;
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
    IconDirectory dir;
    dir.Path = path;
    dir.Type = KindOf(index, path);
    dir.Size = size;
    dir.Scale = index.Integer(path, "Scale").value_or(1);
    dir.MinSize = index.Integer(path, "MinSize").value_or(size);
    dir.MaxSize = index.Integer(path, "MaxSize").value_or(size);
    dir.Threshold = index.Integer(path, "Threshold").value_or(2);
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
            return dir.Size - dir.Threshold <= size && size <= dir.Size + dir.Threshold;
    }
    return false;
}

int SizeDistance(const IconDirectory& dir, int size) {
    const int scale = dir.Scale;
    int low = dir.Size * scale;
    int high = low;
    if (dir.Type == IconDirectory::Kind::Scalable) {
        low = dir.MinSize * scale;
        high = dir.MaxSize * scale;
    } else if (dir.Type == IconDirectory::Kind::Threshold) {
        low = (dir.Size - dir.Threshold) * scale;
        high = (dir.Size + dir.Threshold) * scale;
    }
    if (size < low) return low - size;
    if (size > high) return size - high;
    return 0;
}

std::optional<IconTheme> IconTheme::Load(const std::string& name,
                                         const std::vector<std::string>& baseDirs, int size) {
    IconTheme theme;
    std::optional<KeyFile> index;
    for (const std::string& base : baseDirs) {
        const std::string root = base + "/" + name;
        if (!IsDirectory(root)) continue;
        theme.roots_.push_back(Root{root, IconCacheFile::Open(root), false, {}});
        if (!index) index = KeyFile::Load(root + "/index.theme", kMaxIndexBytes);
    }
    if (!index) return std::nullopt;

    theme.parents_ = index->List(kThemeGroup, "Inherits");
    std::vector<IconDirectory> dirs;
    for (const char* key : {"Directories", "ScaledDirectories"})
        for (const std::string& path : index->List(kThemeGroup, key))
            if (auto dir = ReadDirectory(*index, path)) dirs.push_back(*dir);
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
