// Opening files on Linux: which way a file is opened, programs run in their
// folder without any shell reading their path, every child we start is
// collected, and files nothing handles fail with the classic codes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/xdg/launch/ChildProcesses.h"
#include "platform/xdg/GioLibrary.h"
#include "platform/xdg/launch/LaunchDecision.h"
#include "platform/xdg/launch/ShellLauncher.h"
#include "tests/unit/LinuxServicesSupport.h"

namespace {

namespace fs = std::filesystem;
using linux_testing::WriteExecutable;
using platform::ShellOpenRequest;
using platform::xdg::ChildProcesses;
using platform::xdg::ClassifyLaunch;
using platform::xdg::GioLibrary;
using platform::xdg::LaunchKind;
using platform::xdg::LinuxLauncher;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;
namespace shell_result = platform::xdg::shell_result;

std::set<std::string> Names(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
    return names;
}

ShellOpenRequest Request(const std::string& file, const std::string& directory = "") {
    ShellOpenRequest request;
    request.File = file;
    request.Directory = directory;
    return request;
}

// After the one child we started has exited: collected, and nothing left.
void ExpectCollected(ChildProcesses& children) {
    ASSERT_TRUE(linux_testing::WaitUntilAChildExits());
    children.Reap();
    EXPECT_EQ(children.Running(), 0u);
    EXPECT_TRUE(linux_testing::NoChildrenLeft());
}

TEST(LaunchDecision, ProgramsNeedAnExecuteBitAndAProgramHeader) {
    TempDir dir;
    WriteExecutable(dir.File("script"), "#!/bin/sh\n");
    WriteExecutable(dir.File("binary"), std::string("\x7f" "ELF\x02\x01\x01", 7));
    WriteExecutable(dir.File("marked-document.txt"), "just text, executable by accident\n");
    WriteFile(dir.File("plain-script"), "#!/bin/sh\n");  // no execute bit
    EXPECT_EQ(ClassifyLaunch(dir.File("script")), LaunchKind::Program);
    EXPECT_EQ(ClassifyLaunch(dir.File("binary")), LaunchKind::Program);
    EXPECT_EQ(ClassifyLaunch(dir.File("marked-document.txt")), LaunchKind::Document);
    EXPECT_EQ(ClassifyLaunch(dir.File("plain-script")), LaunchKind::Document);
}

TEST(LaunchDecision, MissingEntriesFoldersAndLinks) {
    TempDir dir;
    WriteFile(dir.File("app.desktop"), "[Desktop Entry]\n");
    fs::create_symlink(dir.File("gone"), dir.File("dangling"));
    fs::create_symlink(dir.File("app.desktop"), dir.File("link-to-entry.desktop"));
    EXPECT_EQ(ClassifyLaunch(dir.File("gone")), LaunchKind::Missing);
    EXPECT_EQ(ClassifyLaunch(dir.File("dangling")), LaunchKind::Missing);
    EXPECT_EQ(ClassifyLaunch(""), LaunchKind::Missing);
    EXPECT_EQ(ClassifyLaunch(dir.File("app.desktop")), LaunchKind::DesktopEntry);
    EXPECT_EQ(ClassifyLaunch(dir.File("link-to-entry.desktop")), LaunchKind::DesktopEntry);
    EXPECT_EQ(ClassifyLaunch(dir.Path().string()), LaunchKind::Document);
}

TEST(LinuxLauncher, ScriptRunsInTheGivenFolderWithItsParametersAndIsCollected) {
    TempDir dir, work;
    WriteExecutable(dir.File("job.sh"), "#!/bin/sh\npwd > marker\nprintf '%s|' \"$@\" > args\n");
    ChildProcesses children;
    GioLibrary gio;
    LinuxLauncher launcher(children, gio);
    ShellOpenRequest request = Request(dir.File("job.sh"), work.Path().string());
    request.Parameters = "\"two words\" '$HOME;x' plain";
    ASSERT_GE(launcher.Open(request), 32);
    EXPECT_EQ(children.Running(), 1u);
    ExpectCollected(children);
    EXPECT_EQ(ReadFile(work.File("marker")), work.Path().string() + "\n");
    EXPECT_EQ(ReadFile(work.File("args")), "two words|$HOME;x|plain|");
}

TEST(LinuxLauncher, RelativeFileIsTakenInsideTheFolder) {
    TempDir dir;
    WriteExecutable(dir.File("job.sh"), "#!/bin/sh\npwd > marker\n");
    ChildProcesses children;
    GioLibrary gio;
    LinuxLauncher launcher(children, gio);
    ASSERT_GE(launcher.Open(Request("job.sh", dir.Path().string())), 32);
    ExpectCollected(children);
    EXPECT_EQ(ReadFile(dir.File("marker")), dir.Path().string() + "\n");
}

// A launcher that handed the path to a shell would run the embedded
// commands, or fail on the unbalanced quotes and run nothing at all.
TEST(LinuxLauncher, PathCharactersAreNeverInterpreted) {
    for (const std::string name : {"a b'c\"$d;e.sh", "$(touch injected); touch injected2 &.sh"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        WriteExecutable(dir.File(name), "#!/bin/sh\n: > ran\n");
        ChildProcesses children;
        GioLibrary gio;
        LinuxLauncher launcher(children, gio);
        ASSERT_GE(launcher.Open(Request(dir.File(name), dir.Path().string())), 32);
        ExpectCollected(children);
        EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{name, "ran"}));
    }
}

TEST(LinuxLauncher, FailuresGiveClassicCodes) {
    linux_testing::EmptyDesktop noApplications;
    TempDir dir;
    WriteExecutable(dir.File("job.sh"), "#!/bin/sh\n: > ran\n");
    WriteFile(dir.File("notes.txt"), "nothing opens this\n");
    ChildProcesses children;
    GioLibrary gio;
    LinuxLauncher launcher(children, gio);
    EXPECT_EQ(launcher.Open(Request(dir.File("deleted.sh"))), shell_result::kFileNotFound);
    EXPECT_EQ(launcher.Open(Request(dir.File("job.sh"), dir.File("no-such-folder"))),
              shell_result::kPathNotFound);
    EXPECT_EQ(launcher.Open(Request(dir.File("notes.txt"))), shell_result::kNoAssociation);
    WriteFile(dir.File("broken.desktop"), "not a desktop entry at all\n");
    EXPECT_EQ(launcher.Open(Request(dir.File("broken.desktop"))), shell_result::kNoAssociation);
    EXPECT_EQ(children.Running(), 0u);
    EXPECT_FALSE(fs::exists(dir.File("ran")));
}

// The entry's own command runs; the desktop launcher detaches it, so no
// child of ours is left to collect.
TEST(LinuxLauncher, DesktopEntryStartsItsApplication) {
    linux_testing::EmptyDesktop noApplications;
    TempDir dir;
    const std::string fifo = dir.File("started");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // Opened read-write by the script so that it never blocks on the fifo.
    WriteExecutable(dir.File("app.sh"), "#!/bin/sh\necho started 1<>\"" + fifo + "\"\n");
    WriteFile(dir.File("app.desktop"),
              "[Desktop Entry]\nType=Application\nName=Test\nExec=" + dir.File("app.sh") + "\n");
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    ChildProcesses children;
    GioLibrary gio;
    LinuxLauncher launcher(children, gio);
    EXPECT_GE(launcher.Open(Request(dir.File("app.desktop"))), 32);
    EXPECT_TRUE(linux_testing::NoChildrenLeft());
    ASSERT_TRUE(linux_testing::WaitReadable(reader));
    char text[16] = {};
    EXPECT_EQ(read(reader, text, sizeof text - 1), 8);
    EXPECT_STREQ(text, "started\n");
    close(reader);
}

// A link entry (Type=Link) is opened as its URL, by the desktop's default
// handler for it; before, it failed and the launcher emptied its slot.
TEST(LinuxLauncher, LinkEntryOpensItsUrlWithTheDefaultHandler) {
    TempDir desktop;
    const linux_testing::ScopedEnv data("XDG_DATA_HOME", desktop.Path().string()),
        dataDirs("XDG_DATA_DIRS", desktop.Path().string()), config("XDG_CONFIG_HOME", desktop.Path().string()),
        configDirs("XDG_CONFIG_DIRS", desktop.Path().string());
    const std::string fifo = desktop.File("opened");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    WriteExecutable(desktop.File("handler.sh"), "#!/bin/sh\necho \"$1\" 1<>\"" + fifo + "\"\n");
    fs::create_directory(desktop.Path() / "applications");
    WriteFile(desktop.File("applications/handler.desktop"),
              "[Desktop Entry]\nType=Application\nName=Handler\nExec=" + desktop.File("handler.sh") +
                  " %u\nMimeType=x-scheme-handler/sorimo-test;\n");
    WriteFile(desktop.File("mimeapps.list"),
              "[Default Applications]\nx-scheme-handler/sorimo-test=handler.desktop\n");
    WriteFile(desktop.File("link.desktop"), "[Desktop Entry]\nType=Link\nName=L\nURL=sorimo-test:page\n");
    WriteFile(desktop.File("nothing.desktop"), "[Desktop Entry]\nType=Link\nName=L\n");
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    ChildProcesses children;
    GioLibrary gio;
    LinuxLauncher launcher(children, gio);
    EXPECT_EQ(launcher.Open(Request(desktop.File("nothing.desktop"))), shell_result::kNoAssociation);
    EXPECT_GE(launcher.Open(Request(desktop.File("link.desktop"))), 32);
    ASSERT_TRUE(linux_testing::WaitReadable(reader));
    char text[32] = {};
    EXPECT_GT(read(reader, text, sizeof text - 1), 0);
    EXPECT_STREQ(text, "sorimo-test:page\n");
    close(reader);
}

// GIO is loaded on first use; where it is missing, what needs it fails as
// "no association" and programs still run directly.
TEST(LinuxLauncher, WithoutGioOnlyProgramsOpen) {
    TempDir dir;
    WriteExecutable(dir.File("job.sh"), "#!/bin/sh\n: > ran\n");
    WriteFile(dir.File("notes.txt"), "words\n");
    WriteFile(dir.File("app.desktop"), "[Desktop Entry]\nType=Application\nName=T\nExec=true\n");
    ChildProcesses children;
    GioLibrary missing("libsorimo-no-such-library.so.0");
    LinuxLauncher launcher(children, missing);
    EXPECT_EQ(launcher.Open(Request(dir.File("notes.txt"))), shell_result::kNoAssociation);
    EXPECT_EQ(launcher.Open(Request(dir.File("app.desktop"))), shell_result::kNoAssociation);
    ASSERT_GE(launcher.Open(Request(dir.File("job.sh"), dir.Path().string())), 32);
    ExpectCollected(children);
    EXPECT_TRUE(fs::exists(dir.File("ran")));
    EXPECT_EQ(missing.Get(), nullptr);
}

TEST(ChildProcesses, HandlersGetTheStatusAndStrayChildrenAreCollected) {
    ChildProcesses children;
    const pid_t watched = fork();
    if (watched == 0) _exit(7);
    const pid_t stray = fork();
    if (stray == 0) _exit(0);
    int seen = -1;
    children.Watch(watched, [&seen](int status) { seen = WEXITSTATUS(status); });
    while (!linux_testing::NoChildrenLeft()) {
        ASSERT_TRUE(linux_testing::WaitUntilAChildExits());
        children.Reap();
    }
    EXPECT_EQ(seen, 7);
    EXPECT_EQ(children.Running(), 0u);
}

}  // namespace
