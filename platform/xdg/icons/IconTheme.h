// One icon theme as the freedesktop icon theme rules describe it: its
// index.theme, its parents, and the PNG files of its sized directories.
#pragma once

#include <cstddef>
#include <optional>
#include <utility>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/xdg/icons/IconCacheFile.h"

namespace platform::xdg {

class KeyFile;

// One directory entry of index.theme. The defaults are those of the rules.
struct IconDirectory {
    enum class Kind { Fixed, Scalable, Threshold };
    std::string Path;  // relative to the theme's folder
    Kind Type = Kind::Threshold;
    int Size = 0;
    int Scale = 1;
    int MinSize = 0;  // = Size unless given
    int MaxSize = 0;  // = Size unless given
    int Threshold = 2;
};

// True when the directory holds icons meant for `size` at scale 1.
bool MatchesSize(const IconDirectory& dir, int size);
// How far the directory's icons are from `size` in pixels (0 when it matches
// or could be scaled to it).
int SizeDistance(const IconDirectory& dir, int size);

class IconTheme {
public:
    // The theme `name` from the first base dir that holds name/index.theme;
    // nothing when none does or the index cannot be read. Icons are looked
    // for in every base dir's copy of the theme folder.
    static std::optional<IconTheme> Load(const std::string& name,
                                         const std::vector<std::string>& baseDirs, int size);
    // The theme an index describes, with no folder to find pictures in.
    static IconTheme FromIndex(const KeyFile& index, int size);

    const std::vector<std::string>& Parents() const { return parents_; }
    // Directories in the order they are searched for the size given to Load:
    // those matching it in index order, then the rest by size distance.
    const std::vector<IconDirectory>& SearchOrder() const { return directories_; }

    // The PNG file of `iconName` nearest to the size, or nothing. A theme
    // folder with an up-to-date icon-theme.cache is asked through it; one
    // without is listed once, at the first call. Either way later calls
    // touch no files.
    std::optional<std::string> Find(const std::string& iconName);

private:
    // One base dir's copy of the theme folder.
    struct Root {
        std::string Path;
        std::optional<IconCacheFile> Cache;
        bool Listed = false;
        std::unordered_map<std::string, std::size_t> Listing;  // name -> best directory
    };
    // A picture's place: directory rank first (it decides), then root.
    using Place = std::pair<std::size_t, std::size_t>;

    std::optional<std::size_t> BestDirectory(Root& root, const std::string& iconName);
    void List(Root& root);

    std::vector<Root> roots_;
    std::vector<std::string> parents_;
    std::vector<IconDirectory> directories_;
    std::unordered_map<std::string, std::size_t> rankOf_;  // directory path -> index
};

}  // namespace platform::xdg
