// The launcher's frame replacements: dragging, closing, hiding to the tray
// and coming back, and how the program ends.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "launcher/Unit3.h"
#include "platform/Platform.h"
#include "settings/IniText.h"
#include "tests/scenario/LauncherFixture.h"
#include "widgets/TaskTray.h"

namespace testing_support {
namespace {

using gfx::mbLeft;
using gfx::mbMiddle;
using gfx::mbRight;

constexpr std::intptr_t kRightUp = 0x205;
constexpr std::intptr_t kLeftDoubleClick = 0x203;
constexpr std::intptr_t kRightDoubleClick = 0x206;

class LauncherWindow : public LauncherTest {
protected:
    void SetUp() override { WriteIni("[FORM]\r\nLEFT=100\r\nTOP=200\r\nOFFSET=4\r\n"); }

    void Drag(gfx::TPoint from, int dx, int dy) {
        platform.MoveTo(from.X, from.Y);
        platform.Press(mbLeft);
        platform.MoveTo(from.X + dx / 2, from.Y + dy / 2);
        platform.MoveTo(from.X + dx, from.Y + dy);
        platform.Release(mbLeft);
        Settle();
    }
    platform::HeadlessWindow& Window() const { return *platform.WindowByHandle(form->Handle()); }
};

TEST_F(LauncherWindow, DraggingByThePanelOrTheBarIconMovesTheWindowAlike) {
    Start();
    Drag(Handle(), 30, -20);
    EXPECT_EQ(form->Left(), 130);
    EXPECT_EQ(form->Top(), 180);
    const gfx::TPoint bar{form->Left() + 212 + 1 + 10 + 16, form->Top() + 1 + 10 + 16};
    Drag(bar, -50, 70);
    EXPECT_EQ(form->Left(), 80);
    EXPECT_EQ(form->Top(), 250);
    EXPECT_EQ(Window().Bounds().Left, 80);
    EXPECT_FALSE(std::filesystem::exists(IniPath() + ".tmp"));
    EXPECT_EQ(Ini(), "[FORM]\r\nLEFT=100\r\nTOP=200\r\nOFFSET=4\r\n");  // dragging writes nothing
}

// A window manager that puts the window where it likes and carries out
// none of the program's moves (a compositor's X11 manager): input lands
// where the window is, the hint follows the real pointer, the drag is the
// manager's, its release acts on nothing, and the place saved is the one
// shown.
TEST_F(LauncherWindow, WhereTheManagerKeepsTheWindowInputLandsThereAndTheManagerDrags) {
    platform.ManagerPlace = gfx::TPoint{500, 300};
    Start();
    ASSERT_EQ(Window().Bounds().Left, 500);
    EXPECT_EQ(form->Left(), 500);
    EXPECT_EQ(form->Top(), 300);
    const gfx::TPoint cell = Cell(2, 1);
    ASSERT_GT(cell.X, 500);
    platform.MoveTo(cell.X, cell.Y);
    Settle(501);
    ASSERT_TRUE(program->Form3->Visible());
    EXPECT_EQ(program->Form3->Left(), cell.X + 12);
    EXPECT_EQ(program->Form3->Top(), cell.Y + 2);
    // The manager follows the pointer once it has been asked to.
    const gfx::TPoint from = Handle();
    platform.MoveTo(from.X, from.Y);
    platform.Press(mbLeft);
    Settle();
    platform.MoveTo(from.X + 30, from.Y - 20);
    platform.Release(mbLeft);
    Settle();
    EXPECT_EQ(platform.SystemMoves, 1);
    EXPECT_EQ(Window().Bounds().Left, 530);
    EXPECT_EQ(form->Left(), 530);
    EXPECT_EQ(form->Top(), 280);
    // The release that ended the manager's drag comes back over an empty
    // cell: it opens no file chooser, and the hint follows the pointer.
    const gfx::TPoint moved = Cell(2, 1);
    platform.MoveTo(moved.X, moved.Y);
    Settle(501);
    EXPECT_TRUE(platform.DialogRequests.empty());
    ASSERT_TRUE(program->Form3->Visible());
    EXPECT_EQ(program->Form3->Left(), moved.X + 12);
    ClickAt(Handle(), mbRight);
    Settle();
    ASSERT_TRUE(program->Application.Terminated());
    EXPECT_EQ(Ini().rfind("[FORM]\r\nLEFT=530\r\nTOP=280\r\n", 0), 0u);
}

TEST_F(LauncherWindow, RightOrMiddleReleaseOnTheHandleClosesAfterSavingAll) {
    for (gfx::TMouseButton button : {mbRight, mbMiddle}) {
        Start();
        Drag(Handle(), 10, 10);
        ClickAt(Handle(), button);
        Settle();
        EXPECT_TRUE(program->Application.Terminated());
        EXPECT_EQ(Ini().rfind("[FORM]\r\nLEFT=110\r\nTOP=210\r\nOFFSET=4\r\n[FILES]\r\n", 0), 0u);
        program.reset();
        WriteIni("[FORM]\r\nLEFT=100\r\nTOP=200\r\nOFFSET=4\r\n");
    }
}

TEST_F(LauncherWindow, ARightPressReleasedAwayFromTheHandleDoesNothing) {
    Start();
    platform.MoveTo(Handle().X, Handle().Y);
    platform.Press(mbRight);
    platform.MoveTo(form->Left() - 50, form->Top() - 50);
    platform.Release(mbRight);
    Settle();
    EXPECT_FALSE(program->Application.Terminated());
    EXPECT_TRUE(form->Visible());
}

TEST_F(LauncherWindow, HiddenByThePanelComesBackOnlyByALeftDoubleClickOnTheTray) {
    Start();
    ClickAt(AboutPanel(), mbMiddle);
    Settle();
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(Window().Visible());
    platform.SendTrayMessage(1, kRightUp);  // shown-only action: nothing
    platform.SendTrayMessage(1, kRightDoubleClick);
    Settle();
    EXPECT_FALSE(form->Visible());
    const int hides = Window().TaskbarHides();
    platform.SendTrayMessage(1, kLeftDoubleClick);
    Settle();
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(form->Left(), 100);
    EXPECT_EQ(form->Top(), 200);
    EXPECT_EQ(form->RowOffset(), 4);
    EXPECT_GT(Window().TaskbarHides(), hides);  // no taskbar entry after showing
}

TEST_F(LauncherWindow, ARightReleaseOnTheTrayHidesAndItsDoubleClickDoesNotShow) {
    Start();
    platform.SendTrayMessage(1, kRightUp);
    platform.SendTrayMessage(1, kRightDoubleClick);
    platform.SendTrayMessage(1, kRightUp);
    Settle();
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(form->HiddenToTray());
}

TEST_F(LauncherWindow, TheTrayIconLivesFromStartUpToExit) {
    Start();
    ASSERT_FALSE(platform.NotifyCalls.empty());
    const auto add = platform.NotifyCalls.front();  // a copy: the record grows
    EXPECT_EQ(add.Message, platform::NIM_ADD);
    EXPECT_EQ(add.Data.uID, 1u);
    EXPECT_EQ(add.Data.szTip, "Sorimo");
    EXPECT_EQ(add.Data.uFlags, 7u);
    EXPECT_EQ(add.Data.uCallbackMessage, 1126u);
    EXPECT_FALSE(add.Data.Icon.Empty());
    ClickAt(Handle(), mbRight);
    Settle();
    program.reset();
    EXPECT_EQ(platform.NotifyCalls.back().Message, platform::NIM_DELETE);
    EXPECT_EQ(platform.NotifyCalls.back().Data.hWnd, add.Data.hWnd);
}

TEST_F(LauncherWindow, WithoutANotificationAreaTheProgramStartsAndEndsAsUsual) {
    // It used to show "タスクトレイに登録できません" and end with exit code 1.
    platform.NotifyIconResult = false;
    platform.At(2000, [&] { ClickAt({100 + 212 + 5, 200 + 5}, mbRight); });  // the handle: close
    EXPECT_EQ(app::SorimoMain(platform), 0);
    EXPECT_TRUE(platform.ErrorBoxes.empty());
    EXPECT_EQ(Ini().rfind("[FORM]\r\nLEFT=100\r\nTOP=200\r\nOFFSET=4\r\n[FILES]\r\n", 0), 0u);
}

TEST_F(LauncherWindow, WithoutATrayIconHidingIsRefusedUntilAnAreaAppears) {
    platform.NotifyIconResult = false;
    Start();
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(form->TaskTray1->Added());
    ClickAt(AboutPanel(), mbRight);
    Settle();
    EXPECT_TRUE(form->Visible());  // there would be no way back
    EXPECT_FALSE(form->HiddenToTray());
    platform.NotifyIconResult = true;
    platform.SendTrayRecreated();
    Settle();
    EXPECT_TRUE(form->TaskTray1->Added());
    ClickAt(AboutPanel(), mbRight);
    Settle();
    EXPECT_FALSE(form->Visible());
}

TEST_F(LauncherWindow, ANotificationAreaGoingAwayBringsTheHiddenWindowBack) {
    Start();
    ClickAt(AboutPanel(), mbRight);
    Settle();
    ASSERT_FALSE(form->Visible());
    const int hides = Window().TaskbarHides();
    platform.NotifyIconResult = false;
    platform.SendTrayLost();
    Settle();
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(form->HiddenToTray());
    EXPECT_GT(Window().TaskbarHides(), hides);
    platform.SendTrayLost();  // lost while shown: nothing more
    Settle();
    EXPECT_TRUE(form->Visible());
}

TEST_F(LauncherWindow, APanelsRequestsHideWithAContextMenuAndShowWithActivations) {
    // The press and release of a context-menu request come together.
    Start();
    platform.SendTrayMessage(1, 0x204);
    platform.SendTrayMessage(1, kRightUp);
    Settle();
    EXPECT_FALSE(form->Visible());
    platform.SendTrayMessage(1, kLeftDoubleClick);  // a double click in a panel: two activations
    platform.SendTrayMessage(1, kLeftDoubleClick);
    Settle();
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(form->HiddenToTray());
}

TEST_F(LauncherWindow, SessionEndWritesTheWholeFileAndExitsZero) {
    platform.At(2000, [&] {
        platform.Click(mbLeft, 100 + 212 + 1 + 10 + 16, 200 + 1 + 10 + 16);  // touch nothing
        platform.SendSessionEnd();
    });
    EXPECT_EQ(app::SorimoMain(platform), 0);
    const std::string ini = Ini();
    EXPECT_NE(ini.find("LEFT=100\r\nTOP=200\r\nOFFSET=4\r\n"), std::string::npos);
    EXPECT_NE(ini.find("28=NOFILE\r\n"), std::string::npos);
    EXPECT_EQ(platform.NotifyCalls.back().Message, platform::NIM_DELETE);
}

// The settings could not be written at the session's end: this used to go
// unsaid and end with 0. Now one line on stderr names the file and the
// reason, and the status says it.
TEST_F(LauncherWindow, ARefusedWriteAtTheSessionEndIsOneLineOnStderrAndStatusOne) {
    platform.At(2000, [&] {
        std::filesystem::remove(IniPath());
        std::filesystem::create_directory(IniPath());  // refuses every write, also for root
        platform.SendSessionEnd();
    });
    testing::internal::CaptureStderr();
    EXPECT_EQ(app::SorimoMain(platform), 1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "sorimo: " + IniPath() + " に書き込めません: " +
                        std::make_error_code(std::errc::is_a_directory).message() + "\n");
    EXPECT_TRUE(platform.ErrorBoxes.empty());
}

// A termination signal before the loop ran was ignored until start-up had
// finished (for ever, when it hung). Taken while the launcher is being
// built, it now ends the program at once, with the settings it read saved.
TEST_F(LauncherWindow, ASessionEndDuringStartUpSavesWhatWasReadAndShowsNoWindow) {
    WriteIni("[FORM]\r\nLEFT=100\r\nTOP=200\r\n[FILES]\r\n3=/x/three\r\n5=/x/five\r\n");
    bool ended = false;
    platform.OnSettingsFile = [&] {  // the launcher is about to read its settings
        if (!std::exchange(ended, true)) platform.EndSessionNow();
    };
    program = std::make_unique<app::TSorimo>(platform);
    ASSERT_TRUE(program->Start());
    EXPECT_TRUE(program->Application.Terminated());
    EXPECT_EQ(program->Form2, nullptr);  // nothing more is built
    EXPECT_EQ(program->Run(), 0);
    for (auto* window : platform.Windows()) EXPECT_FALSE(window->Visible());
    EXPECT_TRUE(platform.IconLookups.empty());  // the loop never ran
    const std::string ini = Ini();
    EXPECT_EQ(settings::FindIniValue(ini, "FORM", "LEFT"), "100");
    EXPECT_EQ(settings::FindIniValue(ini, "FORM", "TOP"), "200");
    EXPECT_EQ(settings::FindIniValue(ini, "FORM", "OFFSET"), "1");
    for (int k = 1; k <= 28; ++k)
        EXPECT_EQ(settings::FindIniValue(ini, "FILES", std::to_string(k)),
                  k == 3 ? "/x/three" : k == 5 ? "/x/five" : "NOFILE");
    program.reset();
    EXPECT_EQ(platform.NotifyCalls.back().Message, platform::NIM_DELETE);
}

TEST_F(LauncherWindow, ATrayRecreatedAfterHidingAddsTheIconAgain) {
    Start();
    ClickAt(AboutPanel(), mbRight);
    Settle();
    const std::size_t before = platform.NotifyCalls.size();
    platform.SendTrayRecreated();
    Settle();
    ASSERT_GT(platform.NotifyCalls.size(), before);
    EXPECT_EQ(platform.NotifyCalls.back().Message, platform::NIM_ADD);
    platform.SendTrayMessage(1, kLeftDoubleClick);
    Settle();
    EXPECT_TRUE(form->Visible());
}

}  // namespace
}  // namespace testing_support
