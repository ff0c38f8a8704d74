// One running copy per settings file on Linux: who holds the channel, what a
// later start hands over, that a holder that went leaves it free, and that
// the channel lies where no other user can reach it.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/xdg/RunningCopySocket.h"
#include "tests/support/TempDir.h"
#include "tests/unit/LinuxServicesSupport.h"

namespace platform::xdg {
namespace {

using Outcome = RunningCopySocket::Outcome;
using Messages = std::vector<std::string>;
namespace fs = std::filesystem;

// A private folder of this test alone.
class RunningCopySocketTest : public testing::Test {
protected:
    RunningCopySocketTest() { fs::permissions(dir_.Path(), fs::perms::owner_all, fs::perm_options::replace); }
    std::string Folder() const { return dir_.Path().string(); }

    testing_support::TempDir dir_;
};

// The holder answers from its loop; here the test is its loop, on a thread
// of its own while the later start waits for the answer.
Outcome ClaimWhileHolderServes(RunningCopySocket& holder, RunningCopySocket& later, const std::string& message,
                               Messages& taken) {
    Outcome outcome{};
    std::thread start([&] { outcome = later.Claim(message); });
    while (taken.empty()) {
        pollfd ready{holder.Fd(), POLLIN, 0};
        poll(&ready, 1, 10);  // woken by the later start connecting
        for (std::string& m : holder.TakeMessages()) taken.push_back(std::move(m));
    }
    start.join();
    return outcome;
}

TEST_F(RunningCopySocketTest, ALaterStartHandsItsRequestToTheHolderAndIsAnswered) {
    RunningCopySocket first(Folder(), "k");
    ASSERT_EQ(first.Claim("activate"), Outcome::Running);
    EXPECT_GE(first.Fd(), 0);
    EXPECT_TRUE(first.TakeMessages().empty());  // nothing waits: no block either

    for (const std::string request : {"toggle 1234", "activate"}) {
        RunningCopySocket second(Folder(), "k");
        Messages taken;
        EXPECT_EQ(ClaimWhileHolderServes(first, second, request, taken), Outcome::HandedOver);
        EXPECT_EQ(taken, Messages{request});
        EXPECT_EQ(second.Fd(), -1);
    }
}

// A holder that hangs (never reads its requests) does not let a later
// start claim success, nor start beside it.
TEST_F(RunningCopySocketTest, AHolderThatDoesNotAnswerLeavesTheRequestNotDelivered) {
    RunningCopySocket first(Folder(), "k");
    ASSERT_EQ(first.Claim("activate"), Outcome::Running);
    RunningCopySocket second(Folder(), "k");
    EXPECT_EQ(second.Claim("toggle", 50), Outcome::NotDelivered);
}

// A copy that crashed must not stop later starts: the lock goes with its
// descriptors, and its socket file is replaced.
TEST_F(RunningCopySocketTest, AChannelWhoseHolderWentIsTakenByTheNextStartAndOthersRunBeside) {
    {
        RunningCopySocket gone(Folder(), "k");
        ASSERT_EQ(gone.Claim("activate"), Outcome::Running);
    }
    RunningCopySocket next(Folder(), "k");
    EXPECT_EQ(next.Claim("activate"), Outcome::Running);
    RunningCopySocket other(Folder(), "other");
    EXPECT_EQ(other.Claim("activate"), Outcome::Running);
}

// The running copy is found by its settings file, not by the path that
// named it: a link to the folder, "..", or a folder that does not exist yet
// resolved the same way.
TEST(RunningCopySocketKey, OneFileReachedByTwoPathsIsOneKeyAndTwoFilesAreTwo) {
    testing_support::TempDir dir;
    fs::create_directory(dir.Path() / "real");
    fs::create_directory_symlink(dir.Path() / "real", dir.Path() / "link");
    const std::string key = RunningCopySocket::KeyFor(dir.File("real/sorimo.INI"));
    EXPECT_EQ(RunningCopySocket::KeyFor(dir.File("link/sorimo.INI")), key);
    EXPECT_EQ(RunningCopySocket::KeyFor(dir.File("real/../link/./sorimo.INI")), key);
    EXPECT_NE(RunningCopySocket::KeyFor(dir.File("real/other.INI")), key);
    EXPECT_NE(RunningCopySocket::KeyFor(dir.File("sorimo.INI")), key);
}

// Another user who made the folder first, or made it open to all, cannot
// become the channel: it is refused and another private folder is used.
TEST(PrivateRuntimeFolder, OnlyAFolderOfOursAloneIsUsed) {
    using linux_testing::ScopedEnv;
    testing_support::TempDir runtime;
    testing_support::TempDir temp;
    fs::permissions(runtime.Path(), fs::perms::owner_all, fs::perm_options::replace);
    const ScopedEnv tmpdir("TMPDIR", temp.Path().string());
    const std::string fallback = temp.File("sorimo-" + std::to_string(getuid()));
    {
        const ScopedEnv xdg("XDG_RUNTIME_DIR", runtime.Path().string());
        EXPECT_EQ(PrivateRuntimeFolder(), runtime.File("sorimo"));
        struct stat info {};
        ASSERT_EQ(stat(runtime.File("sorimo").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        fs::permissions(runtime.Path(), fs::perms::all, fs::perm_options::replace);  // open to all
        EXPECT_EQ(PrivateRuntimeFolder(), fallback);
    }
    const ScopedEnv xdg("XDG_RUNTIME_DIR", std::string("relative/run"));
    EXPECT_EQ(PrivateRuntimeFolder(), fallback);

    fs::permissions(fallback, fs::perms::all, fs::perm_options::replace);  // squatted: open to all
    EXPECT_EQ(PrivateRuntimeFolder(), std::nullopt);
    fs::remove(fallback);
    fs::create_directory_symlink(runtime.Path(), fallback);  // a link is nobody's folder
    EXPECT_EQ(PrivateRuntimeFolder(), std::nullopt);
    if (getuid() == 0) {  // only root can give a folder to another user
        fs::remove(fallback);
        fs::create_directory(fallback);
        fs::permissions(fallback, fs::perms::owner_all, fs::perm_options::replace);
        ASSERT_EQ(chown(fallback.c_str(), 4242, 4242), 0);
        EXPECT_EQ(PrivateRuntimeFolder(), std::nullopt);
    }
}

}  // namespace
}  // namespace platform::xdg
