// File icons on Linux: the names GIO gives a file's type and the Icon= of
// a .desktop file lead to a theme picture (or a picture named by path),
// decoded with its alpha and brought to 32 x 32; the results are cached.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "platform/xdg/GioLibrary.h"
#include "platform/xdg/icons/IconLookup.h"
#include "platform/xdg/icons/IconScaling.h"
#include "tests/unit/LinuxServicesSupport.h"

namespace {

namespace fs = std::filesystem;
using gfx::TIcon;
using gfx::TSurface;
using platform::PngPicture;
using platform::xdg::IconLookup;
using platform::xdg::IconSearchPaths;
using platform::xdg::ScaleIcon;
using testing_support::TempDir;
using testing_support::WriteFile;

PngPicture Solid(int width, int height, gfx::TPixel colour, std::uint8_t alpha = 255) {
    return {TSurface(width, height, colour),
            std::vector<std::uint8_t>(std::size_t(width) * height, alpha)};
}

TEST(PngWithAlpha, AlphaSurvivesWritingAndReading) {
    TempDir dir;
    PngPicture picture = Solid(3, 2, 0x102030);
    picture.Pixels.Set(1, 0, 0xFF8000);
    picture.Alpha = {0, 1, 127, 128, 254, 255};
    platform::WritePng(dir.File("rgba.png"), picture);
    const PngPicture back = platform::ReadPngWithAlpha(dir.File("rgba.png"));
    EXPECT_EQ(back.Pixels, picture.Pixels);
    EXPECT_EQ(back.Alpha, picture.Alpha);

    platform::WritePng(dir.File("rgb.png"), TSurface(2, 2, 0x123456));
    EXPECT_EQ(platform::ReadPngWithAlpha(dir.File("rgb.png")).Alpha,
              std::vector<std::uint8_t>(4, 255));
    PngPicture mismatched = Solid(2, 2, 0);
    mismatched.Alpha.pop_back();
    EXPECT_THROW(platform::WritePng(dir.File("bad.png"), mismatched), std::runtime_error);
}

TEST(IconScaling, BoxAverageWeightedByCoverageAndAlpha) {
    // 2 x 2 blocks down to 1 x 1: transparent red leaves no tint.
    PngPicture quad = Solid(2, 2, 0x0000FF);
    quad.Pixels.Set(1, 0, 0xFF0000);
    quad.Alpha = {255, 0, 0, 255};
    const TIcon one = ScaleIcon(quad, 1);
    EXPECT_EQ(one.Pixels().At(0, 0), 0x0000FFu);
    EXPECT_EQ(one.AlphaAt(0, 0), 128);  // 510 / 4 rounded

    // 3 x 3 down to 2 x 2: the corner pixel covers 4 of the 9 parts of its
    // target, its edge neighbours 2, the centre 1.
    PngPicture nine = Solid(3, 3, 0x000000);
    nine.Pixels.Set(0, 0, 0x5A5A5A);
    const TIcon four = ScaleIcon(nine, 2);
    EXPECT_EQ(four.Pixels().At(0, 0), 0x282828u);  // 90 * 4 / 9 = 40
    EXPECT_EQ(four.Pixels().At(1, 1), 0x000000u);
    EXPECT_EQ(four.AlphaAt(1, 0), 255);
}

TEST(IconScaling, EnlargingRepeatsPixelsAndRightSizeIsKept) {
    PngPicture small = Solid(2, 1, 0x00FF00, 200);
    small.Pixels.Set(1, 0, 0x0000FF);
    const TIcon big = ScaleIcon(small, 4);
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(big.Pixels().At(1, y), 0x00FF00u);
        EXPECT_EQ(big.Pixels().At(2, y), 0x0000FFu);
        EXPECT_EQ(big.AlphaAt(3, y), 200);
    }
    const PngPicture exact = Solid(32, 32, 0xABCDEF, 77);
    const TIcon same = ScaleIcon(exact, 32);
    EXPECT_EQ(same.Pixels(), exact.Pixels);
    EXPECT_EQ(same.Alpha(), exact.Alpha);
    EXPECT_TRUE(ScaleIcon(PngPicture{}, 32).Empty());
}

// A theme "Mine" in <dir>/icons with 16 and 32 pixel folders; the reader
// counts the pictures decoded. GIO sees no file-type database or
// applications, so a text file is text/plain whatever the machine has.
class IconLookupTest : public ::testing::Test {
protected:
    IconLookupTest() {
        fs::create_directories(Themes() + "/Mine/32x32/mimetypes");
        fs::create_directories(Themes() + "/Mine/16x16/apps");
        WriteFile(Themes() + "/Mine/index.theme",
                  "[Icon Theme]\nName=Mine\nDirectories=32x32/mimetypes,16x16/apps\n"
                  "[32x32/mimetypes]\nSize=32\nType=Fixed\n[16x16/apps]\nSize=16\nType=Fixed\n");
        PngPicture generic = Solid(32, 32, 0x808080, 255);
        generic.Alpha[0] = 0;  // a transparent corner
        platform::WritePng(Themes() + "/Mine/32x32/mimetypes/text-x-generic.png", generic);
        platform::WritePng(Themes() + "/Mine/16x16/apps/editor.png", Solid(16, 16, 0x00FF00));
    }

    std::string Themes() const { return dir_.File("icons"); }
    IconLookup Lookup() {
        return IconLookup(IconSearchPaths{{Themes()}, "Mine"}, gio_, [this](const std::string& file) {
            ++reads_;
            return platform::ReadPngWithAlpha(file);
        });
    }
    std::string TextFile(const std::string& name) {
        WriteFile(dir_.File(name), "plain words\n");
        return dir_.File(name);
    }

    linux_testing::EmptyDesktop noDatabase_;
    platform::xdg::GioLibrary gio_;
    TempDir dir_;
    int reads_ = 0;
};

TEST_F(IconLookupTest, TypeIconFromTheThemeWithItsTransparency) {
    IconLookup lookup = Lookup();
    const auto icon = lookup.Find(TextFile("notes.txt"));
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->Width(), 32);
    EXPECT_EQ(icon->Height(), 32);
    EXPECT_EQ(icon->Pixels().At(5, 5), 0x808080u);
    EXPECT_EQ(icon->AlphaAt(0, 0), 0);
    EXPECT_EQ(icon->AlphaAt(1, 0), 255);
    EXPECT_EQ(lookup.Find(dir_.File("deleted.txt")), std::nullopt);
}

TEST_F(IconLookupTest, DesktopEntryIconByThemeNameOrAbsolutePath) {
    platform::WritePng(dir_.File("own.png"), Solid(64, 64, 0xFF0000));
    WriteFile(dir_.File("by-name.desktop"), "[Desktop Entry]\nType=Application\nIcon=editor\n");
    WriteFile(dir_.File("by-path.desktop"),
              "[Desktop Entry]\nType=Application\nIcon=" + dir_.File("own.png") + "\n");
    IconLookup lookup = Lookup();
    const auto named = lookup.Find(dir_.File("by-name.desktop"));
    ASSERT_TRUE(named);
    EXPECT_EQ(named->Width(), 32);  // 16 x 16 enlarged
    EXPECT_EQ(named->Pixels().At(31, 31), 0x00FF00u);
    const auto byPath = lookup.Find(dir_.File("by-path.desktop"));
    ASSERT_TRUE(byPath);
    EXPECT_EQ(byPath->Width(), 32);  // 64 x 64 reduced
    EXPECT_EQ(byPath->Pixels().At(0, 0), 0xFF0000u);
}

TEST_F(IconLookupTest, DesktopEntryWithUnusableIconFallsBackToItsTypeIcon) {
    WriteFile(dir_.File("drawn.svg"), "<svg/>");
    WriteFile(dir_.File("svg.desktop"),
              "[Desktop Entry]\nType=Application\nIcon=" + dir_.File("drawn.svg") + "\n");
    WriteFile(dir_.File("unknown.desktop"), "[Desktop Entry]\nType=Application\nIcon=nothing\n");
    IconLookup lookup = Lookup();
    for (const char* entry : {"svg.desktop", "unknown.desktop"}) {
        const auto icon = lookup.Find(dir_.File(entry));
        ASSERT_TRUE(icon) << entry;
        EXPECT_EQ(icon->Pixels().At(5, 5), 0x808080u) << entry;
    }
}

// Once a type's icon is known, neither the theme nor the picture is read
// again: the theme can even be gone.
TEST_F(IconLookupTest, SecondLookupOfATypeReadsNoThemeOrPicture) {
    IconLookup lookup = Lookup();
    const auto first = lookup.Find(TextFile("a.txt"));
    ASSERT_TRUE(first);
    EXPECT_EQ(reads_, 1);
    fs::remove_all(Themes());
    for (const char* name : {"b.txt", "c.txt"}) {
        const auto again = lookup.Find(TextFile(name));
        ASSERT_TRUE(again) << name;
        EXPECT_EQ(again->Pixels(), first->Pixels());
        EXPECT_EQ(again->Alpha(), first->Alpha());
        EXPECT_NE(again->Handle(), first->Handle());  // each caller owns its icon
    }
    EXPECT_EQ(reads_, 1);
}

// Icon= naming a FIFO hung start-up in open(); /dev/zero or a huge file
// would be read without end. Each now falls back to the entry's type icon.
TEST_F(IconLookupTest, DesktopEntryIconThatIsAFifoADeviceOrHugeGetsTheTypeIconWithoutWaiting) {
    ASSERT_EQ(mkfifo(dir_.File("pipe.png").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir_.File("zero.png"));
    WriteFile(dir_.File("huge.png"), "");
    fs::resize_file(dir_.File("huge.png"), std::uintmax_t(200) << 20);
    IconLookup lookup(IconSearchPaths{{Themes()}, "Mine"}, gio_);  // the program's own reader
    for (const char* icon : {"pipe.png", "zero.png", "huge.png"}) {
        const std::string entry = dir_.File(std::string(icon) + ".desktop");
        WriteFile(entry, "[Desktop Entry]\nType=Application\nIcon=" + dir_.File(icon) + "\n");
        const auto found = lookup.Find(entry);
        ASSERT_TRUE(found) << icon;
        EXPECT_EQ(found->Pixels().At(5, 5), 0x808080u) << icon;
    }
    // A FIFO that is itself named like a desktop entry is not read either.
    ASSERT_EQ(mkfifo(dir_.File("pipe.desktop").c_str(), 0600), 0);
    EXPECT_EQ(lookup.Find(dir_.File("pipe.desktop")), std::nullopt);  // the theme has no FIFO icon
}

TEST_F(IconLookupTest, BrokenPictureMeansNoIcon) {
    WriteFile(Themes() + "/Mine/32x32/mimetypes/text-x-generic.png", "not a picture");
    IconLookup lookup = Lookup();
    EXPECT_EQ(lookup.Find(TextFile("a.txt")), std::nullopt);
}

TEST(IconSearchPaths, FromTheEnvironmentAndTheGtkSettings) {
    TempDir home;
    fs::create_directories(home.File("config/gtk-3.0"));
    WriteFile(home.File("config/gtk-3.0/settings.ini"),
              "[Settings]\ngtk-theme-name=Other\ngtk-icon-theme-name=Papyrus\n");
    using linux_testing::ScopedEnv;
    ScopedEnv homeEnv("HOME", home.Path().string());
    ScopedEnv data("XDG_DATA_HOME", std::nullopt);
    ScopedEnv dataDirs("XDG_DATA_DIRS", "/opt/one::/opt/two");
    ScopedEnv config("XDG_CONFIG_HOME", home.File("config"));
    ScopedEnv configDirs("XDG_CONFIG_DIRS", home.File("nothing"));
    IconSearchPaths paths = IconSearchPaths::FromEnvironment();
    EXPECT_EQ(paths.BaseDirs,
              (std::vector<std::string>{home.File(".icons"), home.File(".local/share/icons"),
                                        "/opt/one/icons", "/opt/two/icons", "/usr/share/pixmaps"}));
    EXPECT_EQ(paths.ThemeName, "Papyrus");

    ScopedEnv noSettings("XDG_CONFIG_HOME", home.File("elsewhere"));
    EXPECT_EQ(IconSearchPaths::FromEnvironment().ThemeName, "Adwaita");
}

}  // namespace
