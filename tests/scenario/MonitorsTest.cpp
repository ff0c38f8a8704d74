// The launcher and the about box on desktops of several monitors: where a
// stored position opens, where the box is centred, and what a change of the
// monitor layout while the program runs does to the launcher's place and
// to the settings file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "launcher/Unit2.h"
#include "tests/scenario/LauncherFixture.h"
#include "widgets/Veltobtn.h"

namespace testing_support {
namespace {

using gfx::TRect;

// 1920 x 1080 (primary) beside 1280 x 1024: nothing shows the strip below
// the smaller monitor.
const std::vector<TRect> kTwo{{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}};
// A 1280 x 1024 monitor left of the primary, lower down, and 1600 x 900
// right of it, higher up.
const std::vector<TRect> kThree{{0, 0, 1920, 1080}, {-1280, 200, 0, 1224}, {1920, -300, 3520, 600}};

std::string Position(int left, int top) {
    return "[FORM]\r\nLEFT=" + std::to_string(left) + "\r\nTOP=" + std::to_string(top) + "\r\nOFFSET=4\r\n";
}

class Monitors : public LauncherTest {
protected:
    void StartAt(int left, int top, const std::vector<TRect>& layout) {
        WriteIni(Position(left, top));
        platform.SetMonitors(layout);
        Start();
    }
    gfx::TPoint Place() const { return {form->Left(), form->Top()}; }
    TRect ShownBounds() const { return platform.WindowByHandle(form->Handle())->Bounds(); }
    std::filesystem::file_time_type Written() const { return std::filesystem::last_write_time(IniPath()); }
};

// The fault: the whole desktop's bounding box counted as the screen, so the
// launcher opened in a part of it that no monitor shows.
TEST_F(Monitors, ALauncherStoredWhereNoMonitorShowsOpensOnThePrimaryMonitor) {
    StartAt(2000, 1050, kTwo);
    EXPECT_EQ(Place(), (gfx::TPoint{1920 - 264, 1080 - 104}));
    EXPECT_EQ(ShownBounds(), (TRect{1656, 976, 1656 + 264, 976 + 104}));
    program.reset();
    StartAt(-600, 1300, kThree);  // below the left monitor, left of the primary
    EXPECT_EQ(Place(), (gfx::TPoint{0, 1080 - 104}));
}

TEST_F(Monitors, ALauncherOnAnyMonitorOpensWhereItWas) {
    StartAt(2000, 900, kTwo);  // on the smaller monitor
    EXPECT_EQ(Place(), (gfx::TPoint{2000, 900}));
    program.reset();
    StartAt(-1000, 1100, kThree);  // on the left one, at negative coordinates
    EXPECT_EQ(Place(), (gfx::TPoint{-1000, 1100}));
    EXPECT_EQ(Ini(), Position(-1000, 1100));  // nothing written at start-up
}

TEST_F(Monitors, TheAboutBoxIsCentredOnThePrimaryMonitorNotOnTheDesktop) {
    // The primary monitor is the right one of two.
    StartAt(0, 0, {{1280, 0, 3200, 1080}, {0, 0, 1280, 1024}});
    TRect box;
    ClickAt(AboutPanel());
    platform.After(100, [&] {
        box = platform.WindowByHandle(program->Form2->Handle())->Bounds();
        ClickAt(program->Form2->VeltoButton1->ClientToScreen({60, 13}));
    });
    Settle(200);
    EXPECT_EQ(box, (TRect{1280 + 796, 464, 1280 + 796 + 327, 464 + 152}));
    EXPECT_FALSE(program->Form2->Visible());
}

TEST_F(Monitors, AMonitorThatGoesTakesTheLauncherOntoThePrimaryAndItsPlaceIsSaved) {
    StartAt(2100, 300, kTwo);
    platform.ChangeMonitors({kTwo[0]});  // the smaller monitor is unplugged
    Settle();
    EXPECT_EQ(Place(), (gfx::TPoint{1920 - 264, 300}));
    EXPECT_EQ(ShownBounds().Left, 1920 - 264);
    EXPECT_EQ(Ini(), Position(1920 - 264, 300));  // LEFT and TOP, nothing else
}

TEST_F(Monitors, ALauncherHiddenToTheTrayIsMovedTooAndComesBackOnAMonitor) {
    StartAt(-1000, 1100, kThree);
    ClickAt(AboutPanel(), gfx::mbRight);  // hide to the tray
    Settle();
    ASSERT_FALSE(form->Visible());
    platform.ChangeMonitors({kThree[0], kThree[2]});  // the left monitor goes
    Settle();
    EXPECT_EQ(Place(), (gfx::TPoint{0, 1080 - 104}));
    EXPECT_EQ(Ini(), Position(0, 1080 - 104));
    platform.SendTrayMessage(1, 0x203);  // left double click: back
    Settle();
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(ShownBounds().Left, 0);
}

TEST_F(Monitors, ALayoutChangeThatLeavesTheLauncherOnAMonitorWritesNothing) {
    StartAt(100, 200, kThree);
    const auto before = Written();
    platform.ChangeMonitors({{-1920, 0, 0, 1080}, {0, 0, 1280, 1024}});  // new primary, still reaching it
    Settle();
    platform.ChangeMonitors(kThree);
    Settle();
    EXPECT_EQ(Place(), (gfx::TPoint{100, 200}));
    EXPECT_EQ(Ini(), Position(100, 200));
    EXPECT_EQ(Written(), before);
}

}  // namespace
}  // namespace testing_support
