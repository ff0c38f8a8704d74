// Icon themes by the freedesktop rules, on a fixture theme written by each
// test: directory size matching and distance, nearest size, Inherits,
// hicolor last, loose icons, and names tried in every theme first. Theme
// folders with an icon-theme.cache: icons are found through it (even ones
// no longer on disk), only PNG entries and directories of the index count,
// and a stale or damaged cache leaves the folder to be listed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/xdg/icons/IconCacheFile.h"
#include "platform/xdg/icons/IconTheme.h"
#include "platform/xdg/icons/IconThemeSearch.h"
#include "platform/xdg/KeyFile.h"
#include "platform/png/PngFile.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using platform::xdg::IconDirectory;
using platform::xdg::IconSearchPaths;
using platform::xdg::IconTheme;
using platform::xdg::IconThemeSearch;
using Kind = IconDirectory::Kind;
using Names = std::vector<std::string>;

IconDirectory Dir(Kind type, int size, int minSize, int maxSize, int threshold = 2, int scale = 1) {
    return {"d", type, size, scale, minSize, maxSize, threshold};
}

// Size, Threshold and Scale of an index near the ends of int overflowed
// when the directories were ordered (found by the index fuzzer's seed).
TEST(IconDirectory, IndexNumbersAtTheEndsOfIntAreLimitedAndCompareWithoutOverflow) {
    const auto index = platform::xdg::KeyFile::Parse(
        "[Icon Theme]\nDirectories=huge,tiny,wide,plain\n"
        "[huge]\nSize=2147483647\nThreshold=2147483647\nScale=2147483647\n"
        "[tiny]\nSize=-5\n"
        "[wide]\nSize=1\nType=Scalable\nMinSize=-2147483648\nMaxSize=2147483647\n"
        "[plain]\nSize=32\nType=Fixed\n");
    const IconTheme theme = IconTheme::FromIndex(index, 32);
    Names order;
    for (const IconDirectory& dir : theme.SearchOrder()) order.push_back(dir.Path);
    EXPECT_EQ(order, (Names{"wide", "plain", "huge"}));  // no size: left out
    const IconDirectory& huge = theme.SearchOrder()[2];
    EXPECT_EQ(huge.Size, 1 << 16);
    EXPECT_EQ(huge.Scale, 1 << 16);
    EXPECT_EQ(platform::xdg::SizeDistance(huge, 32), 0);  // its threshold reaches every size
}

TEST(IconDirectory, MatchingAndDistanceTo32) {
    using platform::xdg::MatchesSize;
    using platform::xdg::SizeDistance;
    const IconDirectory fixed32 = Dir(Kind::Fixed, 32, 32, 32);
    const IconDirectory fixed48 = Dir(Kind::Fixed, 48, 48, 48);
    const IconDirectory fixed16 = Dir(Kind::Fixed, 16, 16, 16);
    EXPECT_TRUE(MatchesSize(fixed32, 32));
    EXPECT_EQ(SizeDistance(fixed48, 32), 16);
    EXPECT_EQ(SizeDistance(fixed16, 32), 16);

    const IconDirectory near30 = Dir(Kind::Threshold, 30, 30, 30);  // 28..32
    const IconDirectory near24 = Dir(Kind::Threshold, 24, 24, 24);  // 22..26
    EXPECT_TRUE(MatchesSize(near30, 32));
    EXPECT_EQ(SizeDistance(near30, 32), 0);
    EXPECT_FALSE(MatchesSize(near24, 32));
    EXPECT_EQ(SizeDistance(near24, 32), 6);

    EXPECT_TRUE(MatchesSize(Dir(Kind::Scalable, 48, 16, 256), 32));
    EXPECT_EQ(SizeDistance(Dir(Kind::Scalable, 16, 8, 24), 32), 8);
    EXPECT_EQ(SizeDistance(Dir(Kind::Scalable, 64, 48, 512), 32), 16);

    const IconDirectory doubled16 = Dir(Kind::Fixed, 16, 16, 16, 2, 2);  // 32 pixels, for scale 2
    EXPECT_FALSE(MatchesSize(doubled16, 32));
    EXPECT_EQ(SizeDistance(doubled16, 32), 0);
}

// Themes under <root>/a/icons and <root>/b/icons; every icon file is a
// 1 x 1 picture, its path being what the tests compare.
class IconThemeFixture : public ::testing::Test {
protected:
    std::string Base(const std::string& which) const { return root_.File(which + "/icons"); }

    void Theme(const std::string& base, const std::string& name, const std::string& index) {
        fs::create_directories(Base(base) + "/" + name);
        testing_support::WriteFile(Base(base) + "/" + name + "/index.theme",
                                   "[Icon Theme]\nName=" + name + "\n" + index);
    }
    std::string Icon(const std::string& base, const std::string& relative) {
        const std::string path = Base(base) + "/" + relative;
        fs::create_directories(fs::path(path).parent_path());
        platform::WritePng(path, gfx::TSurface(1, 1));
        return path;
    }
    IconThemeSearch Search(const std::string& theme = "Mine") const {
        return IconThemeSearch(IconSearchPaths{{Base("a"), Base("b"), root_.File("pixmaps")}, theme},
                               32);
    }

    // "Directories=" and a Fixed group for each "<size>x<size>/<context>".
    static std::string Sized(const std::string& dirs) {
        std::string text = "Directories=" + dirs + "\n";
        std::istringstream list(dirs);
        for (std::string dir; std::getline(list, dir, ',');)
            text += "[" + dir + "]\nSize=" + dir.substr(0, dir.find('x')) + "\nType=Fixed\n";
        return text;
    }

    testing_support::TempDir root_;
};

TEST_F(IconThemeFixture, ExactSizeFirstThenNearestThenIndexOrder) {
    Theme("a", "Mine", Sized("48x48/apps,16x16/apps,40x40/apps,32x32/apps,24x24/apps"));
    Icon("a", "Mine/16x16/apps/tie.png");
    const std::string tieWinner = Icon("a", "Mine/48x48/apps/tie.png");  // 16 away, listed first
    Icon("a", "Mine/16x16/apps/near.png");
    const std::string nearest = Icon("a", "Mine/40x40/apps/near.png");
    Icon("a", "Mine/48x48/apps/exact.png");
    const std::string exact = Icon("a", "Mine/32x32/apps/exact.png");
    const std::string svgOnly = Base("a") + "/Mine/32x32/apps/drawn.svg";
    testing_support::WriteFile(svgOnly, "<svg/>");
    const std::string pngElsewhere = Icon("a", "Mine/24x24/apps/drawn.png");
    auto search = Search();
    EXPECT_EQ(search.FindFile({"exact"}), exact);
    EXPECT_EQ(search.FindFile({"near"}), nearest);
    EXPECT_EQ(search.FindFile({"tie"}), tieWinner);
    EXPECT_EQ(search.FindFile({"drawn"}), pngElsewhere);  // pictures we cannot decode are skipped
    EXPECT_EQ(search.FindFile({"missing"}), std::nullopt);
}

TEST_F(IconThemeFixture, ThresholdAndScalableDirectoriesMatchNearbySizes) {
    Theme("a", "Mine",
          "Directories=30/apps,big/apps,16x16/apps\n"
          "[30/apps]\nSize=30\n"  // Threshold by default, 2 either way
          "[big/apps]\nSize=64\nType=Scalable\nMinSize=32\nMaxSize=512\n"
          "[16x16/apps]\nSize=16\nType=Fixed\n");
    Icon("a", "Mine/16x16/apps/x.png");
    const std::string threshold = Icon("a", "Mine/30/apps/x.png");
    Icon("a", "Mine/16x16/apps/y.png");
    const std::string scalable = Icon("a", "Mine/big/apps/y.png");
    auto search = Search();
    EXPECT_EQ(search.FindFile({"x"}), threshold);
    EXPECT_EQ(search.FindFile({"y"}), scalable);
}

TEST_F(IconThemeFixture, ThemeFolderMaySpreadOverSeveralBaseDirs) {
    Theme("a", "Mine", Sized("32x32/apps"));
    fs::create_directories(Base("b") + "/Mine");  // no index of its own
    const std::string inSecond = Icon("b", "Mine/32x32/apps/x.png");
    EXPECT_EQ(Search().FindFile({"x"}), inSecond);
}

TEST_F(IconThemeFixture, InheritedThemesThenHicolorThenLooseIcons) {
    Theme("a", "Mine", "Inherits=Parent\n" + Sized("32x32/apps"));
    Theme("b", "Parent", "Inherits=Mine,Grand\n" + Sized("32x32/apps"));  // a cycle back
    Theme("b", "Grand", Sized("48x48/apps"));
    Theme("b", "hicolor", Sized("32x32/apps"));
    const std::string own = Icon("a", "Mine/32x32/apps/both.png");
    Icon("b", "Parent/32x32/apps/both.png");
    const std::string parents = Icon("b", "Parent/32x32/apps/parent-only.png");
    const std::string grand = Icon("b", "Grand/48x48/apps/grand-only.png");
    Icon("b", "hicolor/32x32/apps/grand-only.png");  // hicolor comes after the whole chain
    const std::string hicolor = Icon("b", "hicolor/32x32/apps/hicolor-only.png");
    fs::create_directories(root_.File("pixmaps"));
    const std::string loose = root_.File("pixmaps/loose.png");
    platform::WritePng(loose, gfx::TSurface(1, 1));
    auto search = Search();
    EXPECT_EQ(search.FindFile({"both"}), own);
    EXPECT_EQ(search.FindFile({"parent-only"}), parents);
    EXPECT_EQ(search.FindFile({"grand-only"}), grand);
    EXPECT_EQ(search.FindFile({"hicolor-only"}), hicolor);
    EXPECT_EQ(search.FindFile({"loose"}), loose);
}

// A generic name in the user's theme beats a specific one only a parent
// has: each theme is asked for all names before its parents are.
TEST_F(IconThemeFixture, EveryNameIsTriedInAThemeBeforeItsParents) {
    Theme("a", "Mine", "Inherits=Parent\n" + Sized("32x32/mimetypes"));
    Theme("b", "Parent", Sized("32x32/mimetypes"));
    Icon("b", "Parent/32x32/mimetypes/text-plain.png");
    const std::string generic = Icon("a", "Mine/32x32/mimetypes/text-x-generic.png");
    EXPECT_EQ(Search().FindFile({"text-plain", "text-x-generic"}), generic);
}

TEST_F(IconThemeFixture, MissingUserThemeFallsBackToHicolor) {
    Theme("b", "hicolor", Sized("16x16/apps"));
    const std::string small = Icon("b", "hicolor/16x16/apps/x.png");
    EXPECT_EQ(Search("NotInstalled").FindFile({"x"}), small);
    EXPECT_EQ(Search("NotInstalled").FindFile({}), std::nullopt);
}

// ------------------------------------------------------------ icon-theme.cache

using platform::xdg::IconCacheFile;
using testing_support::TempDir;
using testing_support::WriteFile;

constexpr std::uint16_t kPng = 4;
constexpr std::uint16_t kSvg = 2;

struct CachedImage {
    std::uint16_t Directory;
    std::uint16_t Flags;
};

// Writes the cache layout: header, directory list, hash table, icons and
// their image lists, strings last. Few buckets, so that chains form.
class CacheWriter {
public:
    std::vector<std::string> Directories;
    std::map<std::string, std::vector<CachedImage>> Icons;

    std::string Bytes() const {
        constexpr std::uint32_t kBuckets = 3;
        std::vector<std::vector<std::string>> chains(kBuckets);
        for (const auto& [name, images] : Icons) chains[Hash(name) % kBuckets].push_back(name);

        std::string out;
        Put16(out, 1);  // version 1.0
        Put16(out, 0);
        Put32(out, 0);  // the two table offsets, patched below
        Put32(out, 0);
        Patch32(out, 8, std::uint32_t(out.size()));
        Put32(out, std::uint32_t(Directories.size()));
        std::vector<std::size_t> directorySlots;
        for (std::size_t i = 0; i < Directories.size(); ++i) directorySlots.push_back(Put32(out, 0));
        Patch32(out, 4, std::uint32_t(out.size()));
        Put32(out, kBuckets);
        std::vector<std::size_t> bucketSlots;
        for (std::uint32_t b = 0; b < kBuckets; ++b) bucketSlots.push_back(Put32(out, 0xFFFFFFFF));
        std::vector<std::pair<std::size_t, std::string>> nameSlots;
        for (std::uint32_t b = 0; b < kBuckets; ++b) {
            std::size_t link = bucketSlots[b];
            for (const std::string& name : chains[b]) {
                Patch32(out, link, std::uint32_t(out.size()));
                link = Put32(out, 0xFFFFFFFF);
                nameSlots.emplace_back(Put32(out, 0), name);
                Put32(out, std::uint32_t(out.size() + 4));  // the image list follows
                Put32(out, std::uint32_t(Icons.at(name).size()));
                for (const CachedImage& image : Icons.at(name)) {
                    Put16(out, image.Directory);
                    Put16(out, image.Flags);
                    Put32(out, 0);  // no image data
                }
            }
        }
        for (std::size_t i = 0; i < Directories.size(); ++i)
            Patch32(out, directorySlots[i], PutString(out, Directories[i]));
        for (const auto& [slot, name] : nameSlots) Patch32(out, slot, PutString(out, name));
        return out;
    }

private:
    static std::uint32_t Hash(const std::string& name) {
        std::uint32_t h = 0;
        for (std::size_t i = 0; i < name.size(); ++i) h = i == 0 ? name[0] : h * 31 + name[i];
        return h;
    }
    static std::size_t Put16(std::string& out, std::uint16_t v) {
        out += char(v >> 8);
        out += char(v);
        return out.size() - 2;
    }
    static std::size_t Put32(std::string& out, std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) out += char(v >> shift);
        return out.size() - 4;
    }
    static void Patch32(std::string& out, std::size_t at, std::uint32_t v) {
        if (at + 4 > out.size()) return;
        for (int k = 0; k < 4; ++k) out[at + k] = char(v >> (24 - 8 * k));
    }
    static std::uint32_t PutString(std::string& out, const std::string& text) {
        const auto at = std::uint32_t(out.size());
        out += text;
        out += '\0';
        return at;
    }
};

// A theme "Mine" with 32x32/apps and 16x16/apps; "on-disk" exists only as
// a file, the cache names other icons.
class IconCacheTest : public ::testing::Test {
protected:
    IconCacheTest() {
        fs::create_directories(Root() + "/32x32/apps");
        fs::create_directories(Root() + "/16x16/apps");
        WriteFile(Root() + "/index.theme",
                  "[Icon Theme]\nDirectories=16x16/apps,32x32/apps\n"
                  "[16x16/apps]\nSize=16\nType=Fixed\n[32x32/apps]\nSize=32\nType=Fixed\n");
        platform::WritePng(Root() + "/32x32/apps/on-disk.png", gfx::TSurface(1, 1));
        cache_.Directories = {"16x16/apps", "32x32/apps", "64x64/unlisted"};
        cache_.Icons["both-sizes"] = {{0, kPng}, {1, kPng}};
        cache_.Icons["small-only"] = {{0, kPng}};
        cache_.Icons["drawn"] = {{1, kSvg}};
        cache_.Icons["elsewhere"] = {{2, kPng}};
        for (const char* name : {"a", "b", "c", "d", "e", "f", "g"}) cache_.Icons[name] = {{1, kPng}};
    }

    std::string Root() const { return dir_.File("icons/Mine"); }
    std::string Cached(const std::string& rest) const { return Root() + "/" + rest; }
    // Writes the cache dated `age` after (or, negative, before) the folder.
    void WriteCache(const std::string& bytes, std::chrono::seconds age) {
        WriteFile(Root() + "/icon-theme.cache", bytes);
        fs::last_write_time(Root() + "/icon-theme.cache", fs::last_write_time(Root()) + age);
    }
    IconTheme Theme() const { return *IconTheme::Load("Mine", {dir_.File("icons")}, 32); }

    TempDir dir_;
    CacheWriter cache_;
};

TEST_F(IconCacheTest, FreshCacheAnswersForTheFolder) {
    WriteCache(cache_.Bytes(), std::chrono::seconds(10));
    IconTheme theme = Theme();
    EXPECT_EQ(theme.Find("both-sizes"), Cached("32x32/apps/both-sizes.png"));
    EXPECT_EQ(theme.Find("small-only"), Cached("16x16/apps/small-only.png"));
    EXPECT_EQ(theme.Find("on-disk"), std::nullopt);  // the folder is not listed
    EXPECT_EQ(theme.Find("drawn"), std::nullopt);
    EXPECT_EQ(theme.Find("elsewhere"), std::nullopt);
    for (const char* name : {"a", "b", "c", "d", "e", "f", "g"})
        EXPECT_EQ(theme.Find(name), Cached("32x32/apps/" + std::string(name) + ".png")) << name;
}

TEST_F(IconCacheTest, StaleOrDamagedCacheIsPassedOver) {
    const std::string bytes = cache_.Bytes();
    WriteCache(bytes, std::chrono::seconds(-10));
    EXPECT_EQ(Theme().Find("on-disk"), Cached("32x32/apps/on-disk.png"));
    EXPECT_EQ(Theme().Find("both-sizes"), std::nullopt);

    std::string wrongVersion = bytes;
    wrongVersion[1] = 2;
    for (const std::string& damaged : {bytes.substr(0, 14), wrongVersion}) {
        WriteCache(damaged, std::chrono::seconds(10));
        EXPECT_FALSE(IconCacheFile::Open(Root()));
        EXPECT_EQ(Theme().Find("on-disk"), Cached("32x32/apps/on-disk.png"));
    }
}

// Offsets past the end anywhere inside the tables: answers end early and
// nothing is read outside the file (the sanitizer build checks the reads).
TEST_F(IconCacheTest, CutShortCachesNeverReadPastTheirEnd) {
    const std::string bytes = cache_.Bytes();
    for (std::size_t size = 24; size < bytes.size(); size += 3) {
        WriteCache(bytes.substr(0, size), std::chrono::seconds(10));
        if (auto cache = IconCacheFile::Open(Root())) {
            for (const char* name : {"both-sizes", "small-only", "g", "none"})
                for (std::string_view dir : cache->PngDirectories(name))
                    EXPECT_LE(dir.size(), bytes.size());
        }
    }
}

}  // namespace
