// One running copy per settings file: a later start of the program on the
// same file hands its request to the running copy and ends without showing
// anything; --toggle hides and shows the running launcher; copies with
// other settings files run side by side. And the command line that asks.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "launcher/Unit2.h"
#include "tests/scenario/LauncherFixture.h"

namespace testing_support {
namespace {

using platform::HeadlessPlatform;
using platform::StartRequest;

class RunningCopy : public LauncherTest {
protected:
    // The first copy claims its settings file as the program's start does.
    void StartFirst() {
        ASSERT_TRUE(platform.BecomeRunningCopy(StartRequest::Activate));
        Start();
    }
    // A later start of the program at `executable` on the same desktop: its
    // exit code; what it showed is left in `later`.
    int StartAgain(StartRequest request, const std::string& executable) {
        later.ShareRunningCopiesWith(platform);
        later.SetExecutablePath(executable);
        return app::SorimoMain(later, request);
    }
    int StartAgain(StartRequest request) { return StartAgain(request, dir.File("sorimo")); }
    void Hide() {
        ClickAt(AboutPanel(), gfx::mbRight);
        Settle();
        ASSERT_FALSE(form->Visible());
    }
    // The window shown on top of the first copy's desktop.
    std::uintptr_t Topmost() const {
        const std::vector<platform::HeadlessWindow*> windows = platform.Windows();
        for (auto it = windows.rbegin(); it != windows.rend(); ++it)
            if ((*it)->Visible()) return (*it)->Handle();
        return 0;
    }

    HeadlessPlatform later;
};

// The fault: a second start ran a second launcher with a second tray icon
// on the same settings file, and each copy overwrote what the other saved.
TEST_F(RunningCopy, ASecondStartShowsNothingEndsWithZeroAndBringsTheHiddenLauncherBack) {
    StartFirst();
    Hide();
    EXPECT_EQ(StartAgain(StartRequest::Activate), 0);
    EXPECT_TRUE(later.Windows().empty());
    EXPECT_TRUE(later.NotifyCalls.empty());
    EXPECT_TRUE(later.ErrorBoxes.empty());
    Settle();
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(form->HiddenToTray());
    EXPECT_EQ(Topmost(), form->Handle());
    // Back as the tray brings it back: the tray icon still hides it.
    platform.SendTrayMessage(1, 0x205);  // right button up
    Settle();
    EXPECT_FALSE(form->Visible());
}

TEST_F(RunningCopy, ASecondStartWhileTheAboutBoxIsOpenKeepsTheBoxOnTop) {
    StartFirst();
    ClickAt(AboutPanel());
    bool boxOnTop = false;
    platform.After(100, [&] { EXPECT_EQ(StartAgain(StartRequest::Activate), 0); });
    platform.After(200, [&] {
        boxOnTop = Topmost() == program->Form2->Handle() && program->Form2->Visible();
        platform.PressKey(platform::Key::Escape);
    });
    Settle(300);
    EXPECT_TRUE(boxOnTop);
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(program->Form2->Visible());
}

TEST_F(RunningCopy, ToggleHidesAShownLauncherToTheTrayAndShowsAHiddenOne) {
    StartFirst();
    EXPECT_EQ(StartAgain(StartRequest::Toggle), 0);
    Settle();
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(form->HiddenToTray());
    EXPECT_EQ(StartAgain(StartRequest::Toggle), 0);
    Settle();
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(form->HiddenToTray());
    // Hidden by the tray and toggled back: the same state as a restore.
    Hide();
    EXPECT_EQ(StartAgain(StartRequest::Toggle), 0);
    Settle();
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(form->Left(), 0);
}

TEST_F(RunningCopy, TheSameSettingsFileReachedByAnotherPathIsTheSameCopy) {
    std::filesystem::create_directory(dir.Path() / "sub");
    StartFirst();
    Hide();
    EXPECT_EQ(StartAgain(StartRequest::Activate, dir.File("sub/../sorimo")), 0);
    Settle();
    EXPECT_TRUE(form->Visible());
}

TEST_F(RunningCopy, CopiesWithOtherSettingsFilesRunSideBySide) {
    StartFirst();
    std::filesystem::create_directory(dir.Path() / "other");
    later.ShareRunningCopiesWith(platform);
    later.SetExecutablePath(dir.File("other/sorimo"));
    EXPECT_TRUE(later.BecomeRunningCopy(StartRequest::Activate));
    HeadlessPlatform third;
    third.ShareRunningCopiesWith(platform);
    third.SetExecutablePath(dir.File("sorimo.exe"));  // sorimo.INI too: the same file
    EXPECT_FALSE(third.BecomeRunningCopy(StartRequest::Activate));
}

TEST_F(RunningCopy, ACopyThatEndedLeavesItsSettingsFileToTheNextStart) {
    auto gone = std::make_unique<HeadlessPlatform>();
    gone->SetExecutablePath(dir.File("sorimo"));
    ASSERT_TRUE(gone->BecomeRunningCopy(StartRequest::Activate));
    later.ShareRunningCopiesWith(*gone);
    platform.ShareRunningCopiesWith(*gone);
    gone.reset();
    later.SetExecutablePath(dir.File("sorimo"));
    EXPECT_TRUE(later.BecomeRunningCopy(StartRequest::Activate));
    EXPECT_FALSE(platform.BecomeRunningCopy(StartRequest::Activate));
}

// ------------------------------------------------------------ command line

TEST(CommandLine, NoArgumentsRunAndToggleRunsAskingToToggle) {
    EXPECT_EQ(app::ParseCommandLine({}).Action, app::TStartAction::Run);
    EXPECT_EQ(app::ParseCommandLine({}).Request(), StartRequest::Activate);
    const app::TCommandLine toggle = app::ParseCommandLine({"--toggle"});
    EXPECT_EQ(toggle.Action, app::TStartAction::Toggle);
    EXPECT_EQ(toggle.Request(), StartRequest::Toggle);
}

TEST(CommandLine, AutostartTakesOnOrOffAndNothingElse) {
    const app::TCommandLine on = app::ParseCommandLine({"--autostart", "on"});
    EXPECT_EQ(on.Action, app::TStartAction::Autostart);
    EXPECT_TRUE(on.AutostartOn);
    const app::TCommandLine off = app::ParseCommandLine({"--toggle", "--autostart", "off"});
    EXPECT_EQ(off.Action, app::TStartAction::Autostart);
    EXPECT_FALSE(off.AutostartOn);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--autostart"}, {"--autostart", "yes"}, {"--autostart", "--toggle"}}) {
        const app::TCommandLine line = app::ParseCommandLine(args);
        EXPECT_EQ(line.Action, app::TStartAction::Usage) << args.back();
        EXPECT_EQ(line.Unknown, "--autostart");
    }
    EXPECT_NE(app::HelpText("sorimo").find("--autostart on|off"), std::string::npos);
}

TEST(CommandLine, HelpAndVersionAnswerWithoutRunning) {
    EXPECT_EQ(app::ParseCommandLine({"--help"}).Action, app::TStartAction::Help);
    EXPECT_EQ(app::ParseCommandLine({"--toggle", "--help"}).Action, app::TStartAction::Help);
    EXPECT_EQ(app::ParseCommandLine({"--version"}).Action, app::TStartAction::Version);
    EXPECT_EQ(app::ParseCommandLine({"--version", "--help"}).Action, app::TStartAction::Help);
    EXPECT_NE(app::HelpText("sorimo").find("--toggle"), std::string::npos);
    EXPECT_EQ(app::VersionText(), "Sorimo 4.05\n");
}

// Arguments used to be ignored: a typo ran the program as if none was given.
TEST(CommandLine, AnArgumentNotUnderstoodIsAUsageErrorNamingIt) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--togle"}, {"--help", "-x"}, {"--toggle", "file.txt", "--bad"}, {""}}) {
        const app::TCommandLine line = app::ParseCommandLine(args);
        EXPECT_EQ(line.Action, app::TStartAction::Usage) << args.back();
    }
    const app::TCommandLine line = app::ParseCommandLine({"--toggle", "file.txt", "--bad"});
    EXPECT_EQ(line.Unknown, "file.txt");
    EXPECT_EQ(app::UsageText("sorimo", line.Unknown),
              "sorimo: 不明な引数 'file.txt'\n"
              "使い方: sorimo [--toggle | --autostart on|off | --help | --version]\n");
}

}  // namespace
}  // namespace testing_support
