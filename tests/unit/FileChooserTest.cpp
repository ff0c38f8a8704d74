// The open-file dialog through a chooser program: its command line, the
// chosen path read from its output, cancelling, a missing program, and a
// dialog abandoned while open. A fake zenity stands first in PATH.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/xdg/launch/ChildProcesses.h"
#include "platform/xdg/launch/ChooserCommand.h"
#include "platform/xdg/launch/FileChooser.h"
#include "platform/xdg/SplitText.h"
#include "tests/unit/LinuxServicesSupport.h"

namespace {

using linux_testing::ScopedEnv;
using linux_testing::WriteExecutable;
using platform::OpenFileRequest;
using platform::xdg::ChildProcesses;
using platform::xdg::ChooserCommand;
using platform::xdg::FileChooser;
using testing_support::ReadFile;
using testing_support::TempDir;
using Argv = std::vector<std::string>;

OpenFileRequest Request(const std::string& initialFile) {
    OpenFileRequest request;
    request.Filter = "すべてのファイル|*.*";
    request.InitialFile = initialFile;
    return request;
}

// Filters and search paths are split as lines are read: empty pieces kept
// between separators, none made by a final one.
TEST(SplitText, EmptyPiecesBetweenButNotAfterSeparators) {
    using platform::xdg::SplitText;
    EXPECT_EQ(SplitText("", '|'), Argv{});
    EXPECT_EQ(SplitText("|", '|'), (Argv{""}));
    EXPECT_EQ(SplitText("a||b", '|'), (Argv{"a", "", "b"}));
    EXPECT_EQ(SplitText("a|b|", '|'), (Argv{"a", "b"}));
    EXPECT_EQ(SplitText("/usr/bin::/bin", ':'), (Argv{"/usr/bin", "", "/bin"}));
}

TEST(ChooserCommand, ZenityGetsTheTitlePreselectionAndFilter) {
    TempDir bin;
    WriteExecutable(bin.File("zenity"), "");
    EXPECT_EQ(ChooserCommand(Request("/slots/a b.txt"), "GNOME", bin.Path().string()),
              (Argv{bin.File("zenity"), "--file-selection", "--title=開く",
                    "--filename=/slots/a b.txt", "--file-filter=すべてのファイル | *"}));
    OpenFileRequest twoFilters = Request("");
    twoFilters.Filter = "Texts|*.txt;*.md|All|*";
    EXPECT_EQ(ChooserCommand(twoFilters, "", bin.Path().string()),
              (Argv{bin.File("zenity"), "--file-selection", "--title=開く",
                    "--file-filter=Texts | *.txt *.md", "--file-filter=All | *"}));
}

TEST(ChooserCommand, KdialogOnKdeOrWhenItIsTheOnlyOne) {
    TempDir both, kdeOnly, none;
    WriteExecutable(both.File("zenity"), "");
    WriteExecutable(both.File("kdialog"), "");
    WriteExecutable(kdeOnly.File("kdialog"), "");
    const Argv kdialog{both.File("kdialog"), "--title", "開く", "--getopenfilename",
                       "/slots/a.txt", "*|すべてのファイル"};
    EXPECT_EQ(ChooserCommand(Request("/slots/a.txt"), "ubuntu:KDE", both.Path().string()),
              kdialog);
    EXPECT_EQ(ChooserCommand(Request("/slots/a.txt"), "XFCE", both.Path().string())->front(),
              both.File("zenity"));
    EXPECT_EQ(ChooserCommand(Request(""), "", kdeOnly.Path().string())->at(4), ".");
    EXPECT_EQ(ChooserCommand(Request(""), "KDE", none.Path().string()), std::nullopt);
}

TEST(ChooserCommand, OnlyExecutableFilesCount) {
    TempDir bin;
    testing_support::WriteFile(bin.File("zenity"), "");  // no execute bit
    EXPECT_EQ(platform::xdg::FindProgram("zenity", bin.Path().string()), std::nullopt);
    EXPECT_EQ(platform::xdg::FindProgram("zenity", ":" + bin.Path().string() + "::"),
              std::nullopt);
}

// A PATH holding only a folder with a fake zenity, on no particular desktop.
class FileChooserTest : public ::testing::Test {
protected:
    void FakeZenity(const std::string& body) {
        WriteExecutable(bin_.File("zenity"),
                        "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
                            bin_.File("args") + "\"\n" + body);
    }
    // Runs the session as the event loop would, until it is finished.
    void RunToEnd(FileChooser& chooser) {
        while (chooser.Fd() >= 0) {
            EXPECT_EQ(children_.OutputFds().count(chooser.Fd()), 1u);
            ASSERT_TRUE(linux_testing::WaitReadable(chooser.Fd()));
            chooser.Finished();
        }
        if (!chooser.Finished()) {
            ASSERT_TRUE(linux_testing::WaitUntilAChildExits());
            ASSERT_TRUE(chooser.Finished());
        }
        EXPECT_TRUE(children_.OutputFds().empty());
        EXPECT_EQ(children_.Running(), 0u);
    }

    TempDir bin_;
    ScopedEnv path_{"PATH", bin_.Path().string()};
    ScopedEnv desktop_{"XDG_CURRENT_DESKTOP", std::nullopt};
    ChildProcesses children_;
};

TEST_F(FileChooserTest, ChosenPathComesBackWithoutTheLineEnd) {
    FakeZenity("printf '%s\\n' '/home/u/my file.txt'\n");
    auto chooser = FileChooser::Begin(children_, Request("/home/u/old file.txt"));
    RunToEnd(*chooser);
    EXPECT_EQ(chooser->Result(), "/home/u/my file.txt");
    EXPECT_EQ(ReadFile(bin_.File("args")),
              "--file-selection\n--title=開く\n--filename=/home/u/old file.txt\n"
              "--file-filter=すべてのファイル | *\n");
}

TEST_F(FileChooserTest, CancelAndFailureGiveNothing) {
    for (const std::string body : {"exit 1\n", "printf '/tmp/half'; exit 255\n", "exit 0\n"}) {
        SCOPED_TRACE(body);
        FakeZenity(body);
        auto chooser = FileChooser::Begin(children_, Request(""));
        RunToEnd(*chooser);
        EXPECT_EQ(chooser->Result(), std::nullopt);
    }
}

TEST_F(FileChooserTest, NoChooserProgramIsAnErrorForTheUser) {
    try {
        FileChooser::Begin(children_, Request(""));
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("zenity"), std::string::npos) << message;
        EXPECT_NE(message.find("見つかりません"), std::string::npos) << message;
    }
    EXPECT_EQ(children_.Running(), 0u);
}

TEST_F(FileChooserTest, AbandonedDialogIsEndedAndCollected) {
    const std::string fifo = bin_.File("never-written");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    FakeZenity("read line < \"" + fifo + "\"\n");  // waits until ended
    auto chooser = FileChooser::Begin(children_, Request(""));
    EXPECT_FALSE(chooser->Finished());
    chooser.reset();
    EXPECT_TRUE(children_.OutputFds().empty());
    ASSERT_TRUE(linux_testing::WaitUntilAChildExits());
    children_.Reap();
    EXPECT_EQ(children_.Running(), 0u);
    EXPECT_TRUE(linux_testing::NoChildrenLeft());
}

}  // namespace
