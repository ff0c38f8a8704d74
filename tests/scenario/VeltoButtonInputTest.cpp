// The LED button on a form of the headless backend: its state table, the
// events it raises (also when disabled), the capture of every mouse button,
// and when it repaints.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/Application.h"
#include "gui/Form.h"
#include "platform/headless/HeadlessPlatform.h"
#include "widgets/Veltobtn.h"

namespace {

using namespace gui;
using widgets::TVeltoButton;

using Log = std::vector<std::string>;

constexpr TColor kFace = gfx::TColor{0xFEFDD6};
constexpr TColor kOff = gfx::TColor{0xFF0080};
constexpr TColor kOn = clAqua;
constexpr TColor kDown = gfx::TColor{0x0000C0};
constexpr TPoint kFormAt{100, 100};
constexpr TPoint kButtonAt{20, 10};
constexpr TPoint kInside{60, 20};   // button coordinates, right of the lamp and caption
constexpr TPoint kOutside{100, 5};  // button coordinates, on the form beside it

class LedInput : public ::testing::Test {
protected:
    LedInput() : app(platform) {
        app.CreateForm(form, platform::WindowKind::Main);
        form->SetBounds(kFormAt.X, kFormAt.Y, 200, 60);
        form->SetColor(kFace);
        button = &form->Own<TVeltoButton>();
        button->SetParent(form);
        button->SetBounds(kButtonAt.X, kButtonAt.Y, 79, 27);
        button->SetCaption("OK");
        button->SetLedOffColor(kOff);
        button->SetLedOnColor(kOn);
        button->SetLedDownColor(kDown);
        LogEvents();
        form->Show();
        Run();
    }

    void LogEvents() {
        button->OnMouseEnter = [this](TComponent*) { log.push_back("enter"); };
        button->OnMouseLeave = [this](TComponent*) { log.push_back("leave"); };
        button->OnClick = [this](TComponent*) {
            // The click comes before the released look is painted.
            log.push_back(button->Pressed() ? "click while pressed" : "click");
        };
        button->OnDblClick = [this](TComponent*) { log.push_back("dbl"); };
        button->OnMouseDown = [this](TComponent*, TMouseButton b, TShiftState s, int, int) {
            log.push_back(std::string("down ") + "LRM"[b] + (s & ssDouble ? " double" : ""));
        };
        button->OnMouseUp = [this](TComponent*, TMouseButton b, TShiftState, int, int) {
            log.push_back(std::string("up ") + "LRM"[b]);
        };
        button->OnMouseMove = [this](TComponent*, TShiftState, int, int) { ++moves; };
    }

    void Run() { app.ProcessMessages(); }
    void MoveTo(TPoint p) {
        platform.MoveTo(kFormAt.X + kButtonAt.X + p.X, kFormAt.Y + kButtonAt.Y + p.Y);
        Run();
    }
    void Press(TMouseButton b) {
        platform.Press(b);
        Run();
    }
    void Release(TMouseButton b) {
        platform.Release(b);
        Run();
    }

    // The look the window shows, told by the lamp colour at button point
    // (13, 13), which every look's lamp covers with its lit body.
    std::string Look() const {
        const TColor c = ColorFromPixel(Shown().Get(kButtonAt.X + 13, kButtonAt.Y + 13));
        return c == kOff ? "rest" : c == kOn ? "raised" : c == kDown ? "sunk" : "?";
    }
    const TSurface& Shown() const { return platform.WindowByHandle(form->Handle())->Snapshot(); }
    int Presents() const { return platform.WindowByHandle(form->Handle())->Presents(); }

    platform::HeadlessPlatform platform;
    TApplication app;
    TForm* form = nullptr;
    TVeltoButton* button = nullptr;
    Log log;
    int moves = 0;
};

// ------------------------------------------------------------ state table

TEST_F(LedInput, ALeftClickRaisesSinksClicksAndRaisesAgain) {
    EXPECT_EQ(Look(), "rest");
    MoveTo(kInside);
    EXPECT_EQ(Look(), "raised");
    Press(mbLeft);
    EXPECT_EQ(Look(), "sunk");
    EXPECT_EQ(button->PressOffset(), 1);
    Release(mbLeft);
    EXPECT_EQ(Look(), "raised");
    MoveTo(kOutside);
    EXPECT_EQ(Look(), "rest");
    EXPECT_EQ(log, (Log{"enter", "down L", "click while pressed", "up L", "leave"}));
}

TEST_F(LedInput, DraggingOutAndBackWhileHeldShowsRestThenSunkAndReleasingOutsideDoesNotClick) {
    MoveTo(kInside);
    Press(mbLeft);
    MoveTo(kOutside);
    EXPECT_EQ(Look(), "rest");
    EXPECT_TRUE(button->Pressed());
    MoveTo(kInside);
    EXPECT_EQ(Look(), "sunk");
    EXPECT_EQ(button->PressOffset(), 1);
    MoveTo(kOutside);
    Release(mbLeft);
    EXPECT_EQ(Look(), "rest");
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(log, (Log{"enter", "down L", "leave", "enter", "leave", "up L"}));
}

TEST_F(LedInput, RightAndMiddleButtonsSinkAndRiseButNeverClick) {
    MoveTo(kInside);
    for (TMouseButton b : {mbRight, mbMiddle}) {
        Press(b);
        EXPECT_EQ(Look(), "sunk");
        Release(b);
        EXPECT_EQ(Look(), "raised");
    }
    EXPECT_EQ(log, (Log{"enter", "down R", "up R", "down M", "up M"}));
}

TEST_F(LedInput, ASecondPressOfADoubleClickIsADoubleClickThenAPressWithoutAClick) {
    const TPoint at = button->ClientToScreen(kInside);
    platform.DoubleClick(mbLeft, at.X, at.Y);
    Run();
    EXPECT_EQ(log, (Log{"enter", "down L", "click while pressed", "up L", "dbl", "down L double",
                        "up L"}));
    EXPECT_EQ(form->CaptureControl(), nullptr);
}

// ------------------------------------------------------------ the mend

// Right and middle presses capture the pointer like the left one, so their
// release outside still ends the press; without it the button would come
// back sunk on the next visit.
TEST_F(LedInput, ARightOrMiddlePressReleasedOutsideEndsThePress) {
    for (TMouseButton b : {mbRight, mbMiddle}) {
        log.clear();
        MoveTo(kInside);
        Press(b);
        MoveTo(kOutside);
        Release(b);
        EXPECT_FALSE(button->Pressed());
        EXPECT_EQ(form->CaptureControl(), nullptr);
        MoveTo(kInside);
        EXPECT_EQ(Look(), "raised");
        MoveTo(kOutside);
        EXPECT_EQ(log, (Log{"enter", std::string("down ") + "LRM"[b], "leave",
                            std::string("up ") + "LRM"[b], "enter", "leave"}));
    }
}

TEST_F(LedInput, TheCaptureLastsUntilEveryButtonPressedOnItIsUp) {
    MoveTo(kInside);
    Press(mbRight);
    Press(mbLeft);
    MoveTo(kOutside);
    Release(mbLeft);
    EXPECT_EQ(form->CaptureControl(), button);
    Release(mbRight);
    EXPECT_EQ(form->CaptureControl(), nullptr);
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(log, (Log{"enter", "down R", "down L", "leave", "up L", "up R"}));
}

// ------------------------------------------------------------ Enabled

TEST_F(LedInput, ADisabledButtonRestsAndRaisesOnlyMovesAndDoubleClicks) {
    button->SetEnabled(false);
    EXPECT_TRUE(button->TControl::Enabled());  // input keeps arriving
    const TPoint at = button->ClientToScreen(kInside);
    platform.DoubleClick(mbLeft, at.X, at.Y);
    platform.Click(mbRight, at.X, at.Y);
    Run();
    MoveTo(kOutside);
    EXPECT_EQ(Look(), "rest");
    EXPECT_FALSE(button->MouseIn());
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(form->CaptureControl(), nullptr);
    EXPECT_EQ(log, (Log{"dbl"}));
    EXPECT_GT(moves, 0);
}

TEST_F(LedInput, ChangingEnabledClearsTheStateAndTheNextMoveInsideRaises) {
    MoveTo(kInside);
    Press(mbLeft);
    button->SetEnabled(false);
    EXPECT_FALSE(button->MouseIn());
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(button->PressOffset(), 0);
    Release(mbLeft);
    button->SetEnabled(true);
    Run();
    EXPECT_EQ(Look(), "rest");  // the pointer rests over it, no enter notice comes
    MoveTo({kInside.X + 1, kInside.Y});
    EXPECT_EQ(Look(), "raised");
    EXPECT_EQ(log, (Log{"enter", "down L"}));
}

// ------------------------------------------------------------ repainting

TEST_F(LedInput, SettersRepaintAtOnceAndOnlyForNewValues) {
    const int presents = Presents();
    button->SetLedOffColor(kOff);
    button->SetCaption(button->Caption());
    button->SetFont(button->Font());
    Run();
    EXPECT_EQ(Presents(), presents);

    button->SetLedOffColor(clRed);  // drawn before the loop runs again
    const TPoint lamp = button->ClientToScreen({13, 13});
    EXPECT_EQ(form->BackBuffer().Get(lamp.X - kFormAt.X, lamp.Y - kFormAt.Y),
              PixelFromColor(clRed));
    EXPECT_FALSE(form->NeedsPaint());
}

TEST_F(LedInput, AFontChangedInPlaceShowsAtTheNextRepaint) {
    // Pixels right of the lamp tinted red (the ink is black, the face pale).
    auto redPixels = [this] {
        int n = 0;
        for (int y = 0; y < 27; ++y) {
            for (int x = 20; x < 79; ++x) {
                const TPixel p = form->BackBuffer().Get(kButtonAt.X + x, kButtonAt.Y + y);
                n += int((p >> 16) & 0xFF) > int((p >> 8) & 0xFF) + 0x40;
            }
        }
        return n;
    };
    button->Font().SetColor(clRed);
    Run();
    EXPECT_EQ(redPixels(), 0);
    button->SetCaption("Go");
    EXPECT_GT(redPixels(), 0);
}

TEST_F(LedInput, TheFaceFollowsTheParentsColour) {
    form->SetColor(clYellow);
    Run();
    EXPECT_EQ(button->Color(), clYellow);
    EXPECT_EQ(Shown().Get(kButtonAt.X + 70, kButtonAt.Y + 5), PixelFromColor(clYellow));
}

}  // namespace
