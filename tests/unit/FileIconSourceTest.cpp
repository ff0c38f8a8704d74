// What a file's icon is called: the content type from the installed type
// database (by name, by content when the name says nothing), the kind of
// what is not a regular file, a .desktop entry's own Icon=, and nothing for
// a path that does not exist.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/xdg/icons/FileIconSource.h"
#include "platform/xdg/GioLibrary.h"
#include "tests/unit/LinuxServicesSupport.h"

namespace {

using platform::xdg::FileIconSource;
using testing_support::TempDir;
using testing_support::WriteFile;
using Names = std::vector<std::string>;

class FileIconSourceTest : public ::testing::Test {
protected:
    FileIconSource Of(const std::string& path) { return FileIconSource::Of(gio, path); }
    platform::xdg::GioLibrary gio;
    TempDir dir;
};

TEST_F(FileIconSourceTest, TypeByNameThenByContent) {
    WriteFile(dir.File("notes.txt"), "plain words\n");
    EXPECT_EQ(Of(dir.File("notes.txt")).Names, (Names{"text-plain", "text-x-generic"}));
    // No extension: the first bytes tell.
    WriteFile(dir.File("picture"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    EXPECT_EQ(Of(dir.File("picture")).Names, (Names{"image-png", "image-x-generic"}));
    linux_testing::WriteExecutable(dir.File("job"), "#!/bin/sh\necho hi\n");
    EXPECT_EQ(Of(dir.File("job")).Names.front(), "application-x-shellscript");
}

TEST_F(FileIconSourceTest, FoldersAndOtherKindsOfFile) {
    EXPECT_EQ(Of(dir.Path().string()).Names, (Names{"inode-directory", "folder"}));
    ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);
    EXPECT_EQ(Of(dir.File("pipe")).Names.front(), "inode-fifo");
    linux_testing::ScopedEnv home("HOME", dir.Path().string() + "/");
    EXPECT_EQ(Of(dir.Path().string()).Names.front(), "user-home");
}

TEST_F(FileIconSourceTest, DesktopEntryIconComesFirst) {
    WriteFile(dir.File("by-name.desktop"), "[Desktop Entry]\nType=Application\nIcon=editor.png\n");
    WriteFile(dir.File("by-path.desktop"), "[Desktop Entry]\nType=Application\nIcon=/opt/own.png\n");
    const FileIconSource named = Of(dir.File("by-name.desktop"));
    EXPECT_EQ(named.Names.front(), "editor");
    EXPECT_EQ(named.File, "");
    const FileIconSource byPath = Of(dir.File("by-path.desktop"));
    EXPECT_EQ(byPath.File, "/opt/own.png");
    EXPECT_EQ(byPath.Names.front(), "application-x-desktop");
}

TEST_F(FileIconSourceTest, NothingForAMissingPathOrWithoutGio) {
    EXPECT_TRUE(Of(dir.File("gone.txt")).Empty());
    EXPECT_TRUE(Of("").Empty());
    WriteFile(dir.File("notes.txt"), "plain words\n");
    platform::xdg::GioLibrary missing("libsorimo-no-such-library.so.0");
    EXPECT_TRUE(FileIconSource::Of(missing, dir.File("notes.txt")).Empty());
}

}  // namespace
