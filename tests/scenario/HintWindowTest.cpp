// The hover hint in the running program, on the virtual clock: when it
// shows, how it follows the pointer from cell to cell, what closes it, and
// that it stays away while a release is being handled.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "gfx/Canvas.h"
#include "launcher/Unit3.h"
#include "tests/scenario/LauncherFixture.h"

namespace testing_support {
namespace {

using gfx::TPoint;

class HintWindow : public LauncherTest {
protected:
    void SetUp() override {
        std::string text = "[FORM]\r\nLEFT=100\r\nTOP=100\r\n[FILES]\r\n1=NOFILE\r\n";
        for (int k = 2; k <= 28; ++k)
            text += std::to_string(k) + "=/slot/" + std::to_string(k) + "\r\n";
        WriteIni(text);
    }

    launcher::TForm3& Hint() const { return *program->Form3; }
    void MoveTo(TPoint p) { platform.MoveTo(p.X, p.Y); }
    // The hint's top-left corner lies 12 right of and 2 below the pointer.
    TPoint HintPlace() const { return {Hint().Left(), Hint().Top()}; }
    static TPoint Beside(TPoint pointer) { return {pointer.X + 12, pointer.Y + 2}; }

    // Rests on cell (1, 0) until the hint shows.
    void ShowOverCell() {
        MoveTo(Cell(1, 0));
        Settle(501);
        ASSERT_TRUE(Hint().Visible());
    }
};

TEST_F(HintWindow, ShowsHalfASecondAfterTheFirstMoveWhateverMovesFollow) {
    Start();
    MoveTo(Cell(0, 0));
    Settle(300);
    const TPoint later{Cell(0, 0).X + 3, Cell(0, 0).Y + 1};
    MoveTo(later);
    Settle(199);
    EXPECT_FALSE(Hint().Visible());
    Settle(2);
    ASSERT_TRUE(Hint().Visible());
    EXPECT_EQ(Hint().Label1->Caption(), "NOFILE!!");
    EXPECT_EQ(HintPlace(), Beside(later));
}

TEST_F(HintWindow, MovingFromCellToCellUpdatesTextAndPlaceAtOnce) {
    Start();
    ShowOverCell();
    EXPECT_EQ(Hint().Label1->Caption(), "/slot/2");
    MoveTo(Cell(2, 1));
    Settle();
    EXPECT_TRUE(Hint().Visible());
    EXPECT_EQ(Hint().Label1->Caption(), "/slot/7");
    EXPECT_EQ(HintPlace(), Beside(Cell(2, 1)));
}

// The window is exactly its label: no margin, no border. The empty slot's
// text is the label's stored text, so setting it changes nothing and the
// size must still be the measured one.
TEST_F(HintWindow, TheHintIsAsLargeAsItsText) {
    Start();
    for (const auto& [cell, text] : {std::pair{Cell(0, 0), "NOFILE!!"}, std::pair{Cell(1, 0), "/slot/2"}}) {
        SCOPED_TRACE(text);
        MoveTo(cell);
        Settle(501);
        ASSERT_TRUE(Hint().Visible());
        const gui::TLabel& label = *Hint().Label1;
        EXPECT_EQ(label.BoundsRect(), (gfx::TRect{0, 0, Hint().Width(), Hint().Height()}));
        gfx::TSurface scratch(1, 1);
        gfx::TCanvas canvas(scratch, Hint().Colors(), Hint().Fonts());
        canvas.Font = label.Font();
        EXPECT_EQ(Hint().Width(), canvas.TextWidth(text));
        EXPECT_EQ(Hint().Height(), canvas.TextHeight(text));
    }
}

// Opening a font is the dearest step of a start: the launcher shows no text
// until the first hint.
TEST_F(HintWindow, NoFontIsOpenedBeforeTheFirstHint) {
    Start();
    EXPECT_TRUE(platform.FontsOpened.empty());
    ShowOverCell();
    ASSERT_EQ(platform.FontsOpened.size(), 1u);
    EXPECT_EQ(platform.FontsOpened[0], Hint().Label1->Font().Spec());
}

TEST_F(HintWindow, LeavingOverThePanelClosesItOntoAnArrowDoesNot) {
    Start();
    ShowOverCell();
    MoveTo({form->Left() + 1 + 6, form->Top() + 1 + 6});  // the grid's panel
    Settle();
    EXPECT_FALSE(Hint().Visible());

    MoveTo(Cell(3, 1));
    Settle(501);
    ASSERT_TRUE(Hint().Visible());
    // The down arrow, above the hint's top edge.
    MoveTo({form->Left() + 1 + 160 + 18, form->Top() + 1 + 52 + 14});
    Settle(1000);
    EXPECT_TRUE(Hint().Visible());

    MoveTo({HintPlace().X + 2, HintPlace().Y + 2});  // onto the hint itself
    Settle();
    EXPECT_FALSE(Hint().Visible());
}

// The release on an empty cell opens the file dialog; the hint armed by
// the move there fires while the dialog is open and shows nothing, and
// stays away until the pointer moves over the grid again.
TEST_F(HintWindow, StaysAwayWhileAReleaseIsHandled) {
    platform.ScriptOpenDialog(std::nullopt, 1000);
    Start();
    bool shownDuringDialog = true;
    ClickAt(Cell(0, 0));
    platform.After(700, [&] { shownDuringDialog = Hint().Visible() || !form->Busy(); });
    Settle(1500);
    EXPECT_EQ(platform.DialogRequests.size(), 1u);
    EXPECT_FALSE(shownDuringDialog);
    EXPECT_FALSE(Hint().Visible());
    MoveTo(Cell(0, 1));
    Settle(501);
    EXPECT_TRUE(Hint().Visible());
}

}  // namespace
}  // namespace testing_support
