// Slots holding what is not a plain file or folder: a named pipe, a device,
// a socket. Their launch is refused without a shell call and without
// emptying the slot; a folder is opened as before.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "tests/scenario/LauncherFixture.h"

namespace testing_support {
namespace {

class LauncherNonRegularFiles : public LauncherTest {};

TEST_F(LauncherNonRegularFiles, AFifoADeviceOrASocketIsNotLaunchedAndStaysInItsSlot) {
    ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = dir.File("sock");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    std::filesystem::create_symlink(dir.File("pipe"), dir.File("link"));
    const std::string targets[] = {dir.File("pipe"), "/dev/zero", socketPath, dir.File("link")};
    std::string text = "[FILES]\r\n";
    for (int k = 1; k <= 4; ++k) text += std::to_string(k) + "=" + targets[k - 1] + "\r\n";
    WriteIni(text);
    Start();
    for (int col = 0; col < 4; ++col) {
        ClickAt(Cell(col, 0));
        Settle();
        EXPECT_EQ(form->SlotPath(col + 1), targets[col]);
    }
    EXPECT_TRUE(platform.ShellCalls.empty());
    EXPECT_EQ(Ini(), text);  // nothing was emptied or written
    close(listener);
}

TEST_F(LauncherNonRegularFiles, AFolderIsStillOpened) {
    WriteIni("[FILES]\r\n1=" + dir.Path().string() + "\r\n");
    Start();
    ClickAt(Cell(0, 0));
    Settle();
    ASSERT_EQ(platform.ShellCalls.size(), 1u);
    EXPECT_EQ(platform.ShellCalls[0].Request.File, dir.Path().string());
    EXPECT_EQ(form->SlotPath(1), dir.Path().string());
}

}  // namespace
}  // namespace testing_support
