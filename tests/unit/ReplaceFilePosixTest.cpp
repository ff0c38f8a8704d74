// Replacing the settings file on Linux: what a full disk, a killed copy and
// another user watching the folder must never get.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>

#include "settings/ReplaceFile.h"
#include "tests/support/TempDir.h"

namespace settings {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

// A disk that fills up in the middle of an in-place rewrite (a file size
// limit stands in for it) leaves the old content whole. Before, the file was
// truncated first and cut where the disk ended.
TEST(ReplaceFile, AnInPlaceRewriteThatDoesNotFitKeepsTheOldContentWhole) {
    TempDir folder;
    const std::string path = folder.File("sorimo.INI");
    const std::string old(24576, 'o');
    WriteFile(path, old);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{24576 + 1000, 24576 + 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(RewriteFileInPlace(path, std::string(30000, 'n')) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the rewrite reported success";
    EXPECT_EQ(ReadFile(path), old);

    ASSERT_FALSE(RewriteFileInPlace(path, "short"));  // and when it fits, it is whole
    EXPECT_EQ(ReadFile(path), "short");
}

// Temporary files of copies that were killed in the middle of a save (a
// number that is no running process) go with the next save; other files,
// and those of a copy that runs, stay. The save itself leaves none.
TEST(ReplaceFile, ASaveRemovesTheTemporaryFilesOfKilledCopiesAndLeavesNone) {
    TempDir folder;
    const std::string path = folder.File("sorimo.INI");
    WriteFile(path, "old");
    const std::string stale[] = {"sorimo.INI.4194000.tmp", "sorimo.INI.12345678901234567890.tmp"};
    const std::string kept[] = {"sorimo.INI.1.tmp", "sorimo.INI.bak", "other.INI.4194000.tmp", "sorimo.INI.x1.tmp"};
    for (const std::string& name : stale) WriteFile(folder.File(name), "left");
    for (const std::string& name : kept) WriteFile(folder.File(name), "mine");
    ASSERT_FALSE(ReplaceFileContent(path, "new"));
    EXPECT_EQ(ReadFile(path), "new");
    for (const std::string& name : stale) EXPECT_FALSE(fs::exists(folder.File(name))) << name;
    for (const std::string& name : kept) EXPECT_TRUE(fs::exists(folder.File(name))) << name;
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.Path())) ++entries;
    EXPECT_EQ(entries, 1 + std::size(kept));
}

// Another user who lists the folder while a private file is saved never
// finds a file there that others may read. Before, the new content was
// written to a file made with the umask's permissions (0644) and narrowed
// only after it was complete.
TEST(ReplaceFile, APrivateFileIsNeverSeenWithWiderPermissionsWhileItIsSaved) {
    TempDir folder;
    const std::string path = folder.File("sorimo.INI");
    WriteFile(path, "x");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
    std::atomic<bool> saving{true};
    std::atomic<int> widest{0};
    std::thread watcher([&] {
        while (saving)
            for (const auto& entry : fs::directory_iterator(folder.Path())) {
                struct stat info {};
                if (lstat(entry.path().c_str(), &info) == 0) widest = widest | int(info.st_mode & 077);
            }
    });
    const std::string content(1 << 20, 'p');
    for (int save = 0; save < 20; ++save) ASSERT_FALSE(ReplaceFileContent(path, content));
    saving = false;
    watcher.join();
    EXPECT_EQ(widest, 0);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

}  // namespace
}  // namespace settings
