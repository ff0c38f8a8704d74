// Files that are not plain files of a sensible size: a named pipe without a
// writer (opening it for reading would wait for ever), a device that never
// ends (/dev/zero) and a huge sparse file. Every reader of the program
// refuses them at once instead of hanging start-up.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/png/PngFile.h"
#include "platform/xdg/icons/IconCacheFile.h"
#include "platform/xdg/KeyFile.h"
#include "base/FileBytes.h"
#include "settings/IniFile.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;
using testing_support::WriteFile;

std::string Fifo(const TempDir& dir, const std::string& name) {
    const std::string path = dir.File(name);
    EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
    return path;
}

// A file of `bytes` whose blocks are never written: no disk is used.
std::string Sparse(const TempDir& dir, const std::string& name, std::uintmax_t bytes) {
    const std::string path = dir.File(name);
    WriteFile(path, "");
    fs::resize_file(path, bytes);
    return path;
}

constexpr std::uintmax_t k200MB = std::uintmax_t(200) << 20;

TEST(NonRegularFiles, WholeFileReadsRefuseAFifoADeviceAndAFileOverTheCap) {
    TempDir dir;
    const std::string fifo = Fifo(dir, "pipe");
    fs::create_symlink(fifo, dir.File("link-to-pipe"));
    for (const std::string& path : {fifo, dir.File("link-to-pipe"), std::string("/dev/zero")}) {
        EXPECT_EQ(base::ReadFileBytes(path), std::nullopt) << path;
        EXPECT_EQ(base::ReadFileBytes(path, 1 << 20), std::nullopt) << path;
    }
    EXPECT_EQ(base::ReadFileBytes(Sparse(dir, "huge", k200MB), 1 << 20), std::nullopt);
    WriteFile(dir.File("exact"), std::string(1000, 'x'));
    EXPECT_EQ(base::ReadFileBytes(dir.File("exact"), 1000)->size(), 1000u);
    EXPECT_EQ(base::ReadFileBytes(dir.File("exact"), 999), std::nullopt);
}

TEST(NonRegularFiles, ASettingsFileThatIsAFifoReadsAsMissingAndRefusesTheWrite) {
    TempDir dir;
    const std::string fifo = Fifo(dir, "sorimo.INI");
    settings::TIniFile ini(fifo);
    EXPECT_EQ(ini.ReadString("FILES", "1", "NOFILE"), "NOFILE");
    EXPECT_EQ(ini.ReadInteger("FORM", "LEFT", 7), 7);
    EXPECT_THROW(ini.WriteString("FORM", "LEFT", "1"), settings::ESettingsWriteError);
    EXPECT_TRUE(fs::is_fifo(fifo));  // left as it was
}

TEST(NonRegularFiles, KeyFilesAndIconCachesRefuseAFifoAndAFileOverTheCap) {
    TempDir dir;
    EXPECT_EQ(platform::xdg::KeyFile::Load(Fifo(dir, "a.desktop"), 1 << 20), std::nullopt);
    EXPECT_EQ(platform::xdg::KeyFile::Load("/dev/zero", 1 << 20), std::nullopt);
    WriteFile(dir.File("big.desktop"), "[Desktop Entry]\nIcon=x\n" + std::string(2000, '#'));
    EXPECT_EQ(platform::xdg::KeyFile::Load(dir.File("big.desktop"), 1000), std::nullopt);
    EXPECT_TRUE(platform::xdg::KeyFile::Load(dir.File("big.desktop"), 4000));

    fs::create_directory(dir.File("theme"));
    Fifo(dir, "theme/icon-theme.cache");
    EXPECT_FALSE(platform::xdg::IconCacheFile::Open(dir.File("theme")));
    fs::remove(dir.File("theme/icon-theme.cache"));
    Sparse(dir, "theme/icon-theme.cache", platform::xdg::IconCacheFile::kMaxBytes + 1);
    EXPECT_FALSE(platform::xdg::IconCacheFile::Open(dir.File("theme")));
}

TEST(NonRegularFiles, PngReadsRefuseAFifoADeviceAndAFileOverTheCap) {
    TempDir dir;
    const platform::PngLimits limits{1 << 20, 1 << 20};
    for (const std::string& path : {Fifo(dir, "pipe.png"), std::string("/dev/zero"),
                                    Sparse(dir, "huge.png", k200MB)})
        EXPECT_THROW(platform::ReadPngWithAlpha(path, limits), std::runtime_error) << path;
    // A header that asks for more pixels than allowed is refused before
    // anything is allocated.
    platform::WritePng(dir.File("wide.png"), gfx::TSurface(2048, 1));
    EXPECT_THROW(platform::ReadPngWithAlpha(dir.File("wide.png"), {1 << 20, 2047}),
                 std::runtime_error);
    EXPECT_EQ(platform::ReadPngWithAlpha(dir.File("wide.png"), {1 << 20, 2048}).Pixels.Width(), 2048);
}

}  // namespace
