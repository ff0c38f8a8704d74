// The launcher grid: pressing, releasing, launching, assigning, paging and
// when the cells are drawn.
#include <gtest/gtest.h>

#include "tests/scenario/LauncherFixture.h"

namespace testing_support {
namespace {

using gfx::mbLeft;
using gfx::mbMiddle;
using gfx::mbRight;

constexpr gfx::TPixel kCyan = 0x00FFFF;
constexpr gfx::TPixel kWhite = 0xFFFFFF;

class LauncherGrid : public LauncherTest {
protected:
    void SetUp() override {
        std::string text = "[FILES]\r\n";
        for (int k = 1; k <= 28; ++k) text += std::to_string(k) + "=/slot/" + std::to_string(k) + "\r\n";
        WriteIni(text);
        for (int k = 1; k <= 28; ++k) platform.ShellResults["/slot/" + std::to_string(k)] = 42;
    }
    std::vector<std::string> Launched() const {
        std::vector<std::string> files;
        for (const auto& call : platform.ShellCalls) files.push_back(call.Request.File);
        return files;
    }
    // Grid point (x, y) in the launcher window.
    gfx::TPixel GridPixel(int x, int y) const { return WindowPixel(1 + 16 + x, 1 + 16 + y); }
};

TEST_F(LauncherGrid, LeftAndMiddleLaunchInTheSlotsFolderRightAssigns) {
    Start();
    ClickAt(Cell(2, 1));
    ClickAt(Cell(3, 1), mbMiddle);
    Settle();
    ASSERT_EQ(Launched(), (std::vector<std::string>{"/slot/7", "/slot/8"}));
    EXPECT_EQ(platform.ShellCalls[0].Request.Directory, "/slot/");
    EXPECT_EQ(platform.ShellCalls[0].Request.ShowCommand, 5);
    EXPECT_EQ(platform.ShellCalls[0].Request.Owner, form->Handle());
    platform.ScriptOpenDialog("/new/one");
    ClickAt(Cell(0, 0), mbRight);
    Settle();
    EXPECT_EQ(form->SlotPath(1), "/new/one");
    ASSERT_EQ(platform.DialogRequests.size(), 1u);
    EXPECT_EQ(platform.DialogRequests[0].InitialFile, "/slot/8");  // the last launch's path
}

TEST_F(LauncherGrid, ADoubleClickLaunchesTwice) {
    Start();
    platform.DoubleClick(mbLeft, Cell(1, 0).X, Cell(1, 0).Y);
    Settle();
    EXPECT_EQ(Launched(), (std::vector<std::string>{"/slot/2", "/slot/2"}));
}

TEST_F(LauncherGrid, ARightPressReleasedOutsideTheGridDoesNothing) {
    Start();
    const gfx::TPoint cell = Cell(1, 1);
    platform.MoveTo(cell.X, cell.Y);
    platform.Press(mbRight);
    platform.MoveTo(form->Left() + 300, form->Top() + 50);  // beside the window
    platform.Release(mbRight);
    Settle();
    EXPECT_TRUE(Launched().empty());
    EXPECT_TRUE(platform.DialogRequests.empty());
    // The cell keeps its pressed face: no white bevel line at its row 1.
    EXPECT_EQ(GridPixel(36 + 5, 36 + 1), kCyan);
}

TEST_F(LauncherGrid, ALeftDragOutOfTheGridActsOnTheClampedCell) {
    Start();
    const gfx::TPoint cell = Cell(0, 0);
    platform.MoveTo(cell.X, cell.Y);
    platform.Press(mbLeft);
    platform.MoveTo(form->Left() + 500, form->Top() + 300);
    platform.Release(mbLeft);
    Settle();
    EXPECT_EQ(Launched(), (std::vector<std::string>{"/slot/8"}));
    EXPECT_EQ(form->CellCol(), 3);
    EXPECT_EQ(form->CellRow(), 1);
}

TEST_F(LauncherGrid, PagingStopsAtTheFirstAndLastRows) {
    Start();
    const gfx::TPoint up{form->Left() + 1 + 160 + 18, form->Top() + 1 + 16 + 20};
    const gfx::TPoint down{form->Left() + 1 + 160 + 18, form->Top() + 1 + 52 + 14};
    ClickAt(up);
    Settle();
    EXPECT_EQ(form->RowOffset(), 1);
    for (int i = 0; i < 8; ++i) {
        ClickAt(down);
        Settle(600);  // slow enough that no two clicks make a double click
    }
    EXPECT_EQ(form->RowOffset(), 6);
    ClickAt(Cell(3, 1));
    Settle();
    EXPECT_EQ(Launched().back(), "/slot/28");
    ClickAt(up);
    Settle();
    EXPECT_EQ(form->RowOffset(), 5);
}

TEST_F(LauncherGrid, CellsComeBack50msAfterEveryPaint) {
    program = std::make_unique<app::TSorimo>(platform);
    ASSERT_TRUE(program->Start());
    form = program->Form1;
    form->Show();
    program->Application.ProcessMessages();
    EXPECT_EQ(GridPixel(5, 5), kWhite);  // the panel shows until the grid is drawn
    Settle(49);
    EXPECT_EQ(GridPixel(5, 5), kWhite);
    Settle(2);
    EXPECT_EQ(GridPixel(5, 5), kCyan);
    EXPECT_EQ(GridPixel(1, 5), kWhite);  // the raised face's white line
    form->Invalidate();                  // the window is uncovered
    program->Application.ProcessMessages();
    EXPECT_EQ(GridPixel(5, 5), kWhite);
    Settle(49);
    EXPECT_EQ(GridPixel(5, 5), kWhite);
    Settle(2);
    EXPECT_EQ(GridPixel(5, 5), kCyan);
}

TEST_F(LauncherGrid, APathWithoutIconShowsTheBareFaceAndNoIconIsShared) {
    gfx::TSurface pixels(32, 32, 0x123456);
    platform.Icons["/slot/1"] = gfx::TIcon(pixels, std::vector<std::uint8_t>(32 * 32, 255));
    platform.Icons["/slot/2"] = gfx::TIcon(pixels, std::vector<std::uint8_t>(32 * 32, 255));
    Start();
    EXPECT_EQ(GridPixel(2, 2), 0x123456u);
    EXPECT_EQ(GridPixel(36 + 2, 2), 0x123456u);
    EXPECT_EQ(GridPixel(72 + 10, 10), kCyan);  // slot 3: no icon
    EXPECT_NE(form->SlotIcon(1).Get(), form->SlotIcon(2).Get());
    EXPECT_EQ(form->SlotIcon(3).Get(), nullptr);
}

// Looking up 28 icons before the window was shown delayed its first map.
TEST_F(LauncherGrid, SlotIconsAreLookedUpOnlyOnceTheLoopRuns) {
    program = std::make_unique<app::TSorimo>(platform);
    ASSERT_TRUE(program->Start());
    form = program->Form1;
    EXPECT_TRUE(platform.IconLookups.empty());
    form->Show();
    Settle(51);  // the first grid paint
    EXPECT_EQ(platform.IconLookups.size(), 28u);
}

// A cell drawn before the lookups have ended shows its slot's icon.
TEST_F(LauncherGrid, DrawingTheGridEarlyFinishesTheIconLookups) {
    gfx::TSurface pixels(32, 32, 0x123456);
    platform.Icons["/slot/1"] = gfx::TIcon(pixels, std::vector<std::uint8_t>(32 * 32, 255));
    program = std::make_unique<app::TSorimo>(platform);
    ASSERT_TRUE(program->Start());
    form = program->Form1;
    form->Show();
    program->Application.ProcessMessages();
    form->Button1Click(form);
    program->Application.ProcessMessages();
    EXPECT_EQ(GridPixel(2, 2), 0x123456u);
    EXPECT_EQ(platform.IconLookups.size(), 28u);
    Settle(100);
    EXPECT_EQ(platform.IconLookups.size(), 28u);  // none looked up twice
}

}  // namespace
}  // namespace testing_support
