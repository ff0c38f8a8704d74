// Files dragged from another program onto the launcher's slots: the pressed
// cell while hovering, paging from a drag resting on an arrow, what is
// written, and the drops that are refused (the pure rules of which slots a
// drop fills are tested in tests/unit/SlotDropTest.cpp).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/Unit3.h"
#include "tests/scenario/LauncherFixture.h"

namespace testing_support {
namespace {

using platform::DragAction;

constexpr gfx::TPixel kCyan = 0x00FFFF;
constexpr gfx::TPixel kWhite = 0xFFFFFF;

// ------------------------------------------------------------ the program

class FileDrop : public LauncherTest {
protected:
    void SetUp() override {
        // Slots 2 and 3 are filled, the rest empty; no FORM keys yet.
        WriteIni("[FILES]\r\n2=/old/2\r\n3=/old/3\r\n");
    }
    void DragTo(gfx::TPoint p) { platform.DragTo(p.X, p.Y); }
    gfx::TPoint UpArrow() const { return {form->Left() + 1 + 160 + 18, form->Top() + 1 + 16 + 20}; }
    gfx::TPoint DownArrow() const {
        return {form->Left() + 1 + 160 + 18, form->Top() + 1 + 52 + 14};
    }
    // A point of the grid panel beside the cells.
    gfx::TPoint Gap() const { return {form->Left() + 1 + 8, form->Top() + 1 + 40}; }
    // The pressed face has no white bevel line at the cell's row 1.
    bool Pressed(int col, int row) const {
        return WindowPixel(1 + 16 + 36 * col + 5, 1 + 16 + 36 * row + 1) == kCyan;
    }
    bool Raised(int col, int row) const {
        return WindowPixel(1 + 16 + 36 * col + 5, 1 + 16 + 36 * row + 1) == kWhite;
    }
    int PressedCells() const {
        int n = 0;
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 4; ++col) n += Pressed(col, row) ? 1 : 0;
        return n;
    }
    std::vector<bool> Answers(DragAction action) const {
        std::vector<bool> answers;
        for (const auto& a : platform.DragAnswers)
            if (a.Action == action) answers.push_back(a.Accepted);
        return answers;
    }
    void DropAt(gfx::TPoint p, std::vector<std::string> files, bool onlyFiles = true) {
        DragTo(p);
        platform.Drop(std::move(files), onlyFiles);
        Settle();
    }
};

TEST_F(FileDrop, TheCellUnderTheDragIsPressedAndOnlyACellAcceptsIt) {
    Start();
    DragTo(Cell(1, 1));
    Settle();
    EXPECT_TRUE(Pressed(1, 1));
    EXPECT_EQ(PressedCells(), 1);
    DragTo(Cell(2, 0));
    Settle();
    EXPECT_TRUE(Pressed(2, 0));
    EXPECT_TRUE(Raised(1, 1));  // the cell left behind is raised again
    DragTo(Gap());
    DragTo(UpArrow());
    Settle();
    EXPECT_EQ(PressedCells(), 0);
    EXPECT_EQ(Answers(DragAction::Over), (std::vector<bool>{true, true, false, false}));
    DragTo(Cell(0, 0));
    platform.DragAway();
    Settle();
    EXPECT_EQ(PressedCells(), 0);
    EXPECT_FALSE(form->FileDragInside());
}

// The grid is repainted 50 ms after every paint: a drag that arrived just
// before lost its pressed cell and, holding still, never got it back.
TEST_F(FileDrop, ARepaintOfTheGridKeepsTheHoveredCellPressed) {
    Start();
    DragTo(Cell(3, 0));
    Settle();
    ASSERT_TRUE(Pressed(3, 0));
    form->Invalidate();  // the window is uncovered: the grid comes back 50 ms later
    Settle(100);
    EXPECT_TRUE(Pressed(3, 0));
    EXPECT_EQ(PressedCells(), 1);
}

TEST_F(FileDrop, OneFileFillsTheSlotUnderThePointerAndIsSavedAsAnAssignIs) {
    Start();
    platform.Icons["/new/a"] = form->DefaultIcon();
    form->SetLeft(40);
    DropAt(Cell(1, 0), {"/new/a"});
    EXPECT_EQ(Answers(DragAction::Drop), std::vector<bool>{true});
    EXPECT_EQ(form->SlotPath(2), "/new/a");
    EXPECT_EQ(form->EditedSlot(), 2);
    EXPECT_EQ(platform.IconLookups.back(), "/old/3");  // every icon reloaded
    EXPECT_EQ(Ini(),
              "[FILES]\r\n2=/new/a\r\n3=/old/3\r\n[FORM]\r\nLEFT=40\r\nTOP=0\r\nOFFSET=1\r\n");
    EXPECT_EQ(PressedCells(), 0);  // the grid is repainted raised
}

TEST_F(FileDrop, ThreeFilesFillTheDropSlotAndTheNextEmptyOnesWrittenInOneGo) {
    Start();
    DropAt(Cell(0, 0), {"/f/1", "/f/2", "/f/3"});
    EXPECT_EQ(form->SlotPath(1), "/f/1");
    EXPECT_EQ(form->SlotPath(2), "/old/2");
    EXPECT_EQ(form->SlotPath(4), "/f/2");
    EXPECT_EQ(form->SlotPath(5), "/f/3");
    EXPECT_EQ(Ini(),
              "[FILES]\r\n2=/old/2\r\n3=/old/3\r\n1=/f/1\r\n4=/f/2\r\n5=/f/3\r\n"
              "[FORM]\r\nLEFT=0\r\nTOP=0\r\nOFFSET=1\r\n");
}

TEST_F(FileDrop, RefusedDropsChangeNoSlotAndWriteNothing) {
    Start();
    DropAt(Cell(0, 0), {}, false);                // a web address or text
    DropAt(Cell(0, 0), {"/ok", "/bad\nLEFT=1"});  // one path would inject a key
    DropAt(Gap(), {"/ok"});
    DropAt(UpArrow(), {"/ok"});
    EXPECT_EQ(Answers(DragAction::Drop), (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(form->SlotPath(1), "NOFILE");
    EXPECT_EQ(Ini(), "[FILES]\r\n2=/old/2\r\n3=/old/3\r\n");
    EXPECT_EQ(PressedCells(), 0);  // the hovered cell is raised again
}

TEST_F(FileDrop, ADragRestingOnAnArrowPagesEveryHalfSecondUntilTheLastRow) {
    Start();
    DragTo(DownArrow());
    Settle(499);
    EXPECT_EQ(form->RowOffset(), 1);
    Settle(1);
    EXPECT_EQ(form->RowOffset(), 2);
    Settle(500);
    EXPECT_EQ(form->RowOffset(), 3);
    DragTo(Cell(0, 1));  // a file reaches slot 13 in the same drag
    Settle(2000);
    EXPECT_EQ(form->RowOffset(), 3);
    platform.Drop({"/deep"});
    Settle();
    EXPECT_EQ(form->SlotPath(13), "/deep");
    EXPECT_NE(Ini().find("OFFSET=3\r\n"), std::string::npos);

    DragTo(DownArrow());
    Settle(3 * 500 + 10);
    EXPECT_EQ(form->RowOffset(), 6);
    const auto wakeups = platform.TimerWakeups();
    Settle(5000);  // the last row: the timer is not armed again
    EXPECT_EQ(platform.TimerWakeups(), wakeups + 1);
    DragTo(UpArrow());
    Settle(500);
    EXPECT_EQ(form->RowOffset(), 5);
    platform.DragAway();
    Settle(2000);
    EXPECT_EQ(form->RowOffset(), 5);
}

TEST_F(FileDrop, NoDropWhileBusyOrTheFileDialogOrTheAboutBoxIsOpen) {
    Start();
    // The release that opens the dialog keeps Busy set while it is open.
    platform.ScriptOpenDialog(std::nullopt, 1000);
    ClickAt(Cell(3, 1));  // an empty slot: the dialog opens
    platform.After(50, [&] {
        EXPECT_TRUE(form->Busy());
        platform.DragTo(Cell(0, 0).X, Cell(0, 0).Y);
        platform.Drop({"/busy"});
    });
    platform.After(100, [&] { platform.DragTo(Cell(0, 0).X, Cell(0, 0).Y); });
    platform.After(200, [&] { platform.Drop({"/dialog"}); });
    Settle(1500);

    ClickAt(AboutPanel());
    platform.After(100, [&] { platform.DragTo(Cell(0, 0).X, Cell(0, 0).Y); });
    platform.After(200, [&] { platform.Drop({"/about"}); });
    Settle(500);
    EXPECT_EQ(Answers(DragAction::Drop), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(Answers(DragAction::Over), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(form->SlotPath(1), "NOFILE");
}

TEST_F(FileDrop, TheHintClosesWhenADragArrivesAndStaysAwayDuringIt) {
    Start();
    platform.MoveTo(Cell(0, 0).X, Cell(0, 0).Y);
    Settle(501);
    ASSERT_TRUE(program->Form3->Visible());
    DragTo(Cell(1, 0));
    Settle();
    EXPECT_FALSE(program->Form3->Visible());
    // A move just before the drag armed the hint timer: it fires during it.
    platform.MoveTo(Cell(2, 0).X, Cell(2, 0).Y);
    DragTo(Cell(2, 0));
    Settle(1000);
    EXPECT_FALSE(program->Form3->Visible());
    // The pointer arrives as the drag ends, before the dropped data: the
    // hint it armed would show the slot as it was.
    platform.MoveTo(Cell(3, 0).X, Cell(3, 0).Y);
    platform.Drop({"/dropped"});
    Settle(1000);
    EXPECT_FALSE(program->Form3->Visible());
}

}  // namespace
}  // namespace testing_support
