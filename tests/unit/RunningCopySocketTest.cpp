// One running copy per settings file on Linux: who holds the socket name,
// what a later start hands over, and that a holder that went leaves the
// name free.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/xdg/RunningCopySocket.h"
#include "tests/support/TempDir.h"

namespace platform::xdg {
namespace {

using Outcome = RunningCopySocket::Outcome;
using Messages = std::vector<std::string>;

// A name of this test run only: parallel runs must not meet.
std::string UniqueName(const std::string& what) {
    return "sorimo-test/" + std::to_string(::getpid()) + "/" + what;
}

TEST(RunningCopySocket, ALaterStartHandsItsRequestToTheHolderInOrder) {
    RunningCopySocket first(UniqueName("order"));
    ASSERT_EQ(first.Claim("activate"), Outcome::Running);
    EXPECT_GE(first.Fd(), 0);
    EXPECT_TRUE(first.TakeMessages().empty());  // nothing waits: no block either

    RunningCopySocket second(UniqueName("order"));
    RunningCopySocket third(UniqueName("order"));
    EXPECT_EQ(second.Claim("toggle 1234"), Outcome::HandedOver);
    EXPECT_EQ(third.Claim("activate"), Outcome::HandedOver);
    EXPECT_EQ(second.Fd(), -1);
    EXPECT_EQ(first.TakeMessages(), (Messages{"toggle 1234", "activate"}));
    EXPECT_TRUE(first.TakeMessages().empty());
}

// A copy that crashed must not stop later starts: the kernel frees the
// name with the holder's last descriptor, whatever way it ended.
TEST(RunningCopySocket, ANameWhoseHolderWentIsTakenByTheNextStart) {
    {
        RunningCopySocket gone(UniqueName("gone"));
        ASSERT_EQ(gone.Claim("activate"), Outcome::Running);
    }
    RunningCopySocket next(UniqueName("gone"));
    EXPECT_EQ(next.Claim("activate"), Outcome::Running);
}

TEST(RunningCopySocket, DifferentNamesRunSideBySide) {
    RunningCopySocket a(UniqueName("a"));
    RunningCopySocket b(UniqueName("b"));
    EXPECT_EQ(a.Claim("activate"), Outcome::Running);
    EXPECT_EQ(b.Claim("activate"), Outcome::Running);
    EXPECT_TRUE(a.TakeMessages().empty());
}

// The running copy is found by its settings file, not by the path that
// named it: a link to the folder, "..", or a folder that does not exist yet
// resolved the same way.
TEST(RunningCopySocket, OneFileReachedByTwoPathsIsOneNameAndTwoFilesAreTwo) {
    testing_support::TempDir dir;
    std::filesystem::create_directory(dir.Path() / "real");
    std::filesystem::create_directory_symlink(dir.Path() / "real", dir.Path() / "link");
    const std::string name = RunningCopySocket::NameFor(dir.File("real/sorimo.INI"));
    EXPECT_EQ(RunningCopySocket::NameFor(dir.File("link/sorimo.INI")), name);
    EXPECT_EQ(RunningCopySocket::NameFor(dir.File("real/../link/./sorimo.INI")), name);
    EXPECT_NE(RunningCopySocket::NameFor(dir.File("real/other.INI")), name);
    EXPECT_NE(RunningCopySocket::NameFor(dir.File("sorimo.INI")), name);
    EXPECT_LE(name.size(), 100u);
    EXPECT_NE(name.find(std::to_string(::getuid())), std::string::npos);  // per user
}

}  // namespace
}  // namespace platform::xdg
