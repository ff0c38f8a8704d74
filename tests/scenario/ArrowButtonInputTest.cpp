// The arrow button on a form of the headless backend: which presses count,
// when it clicks, and that its looks change without a repaint.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/Application.h"
#include "gui/Form.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/PixelDiff.h"
#include "widgets/arrowbtn.h"

namespace {

using namespace gui;
using widgets::TArrowButton;

constexpr TColor kFace = gfx::TColor{0xE97D6D};  // the launcher's buttons
constexpr TPoint kFormAt{100, 100};
constexpr TPoint kButtonAt{20, 10};

class ArrowInput : public ::testing::Test {
protected:
    ArrowInput() : app(platform) {
        app.CreateForm(form, platform::WindowKind::Main);
        form->SetBounds(kFormAt.X, kFormAt.Y, 160, 80);
        form->SetColor(clWhite);
        button = &AddButton(kButtonAt);
        app.OnMessage = [this](TMsg& msg, bool&) {
            if (msg.message == WM_PAINT) ++paints;
        };
        form->Show();
        Run();
        paints = 0;
    }

    // A 36 x 36 up button like the launcher's, logging its events.
    TArrowButton& AddButton(TPoint at) {
        TArrowButton& b = form->Own<TArrowButton>();
        b.SetParent(form);
        b.SetBounds(at.X, at.Y, 36, 36);
        b.SetButtonColor(kFace);
        b.OnClick = [this](TComponent*) { log.push_back("click"); };
        b.OnMouseDown = [this](TComponent*, TMouseButton m, TShiftState, int, int) {
            log.push_back(std::string("down ") + "LRM"[m]);
        };
        b.OnMouseUp = [this](TComponent*, TMouseButton m, TShiftState, int, int) {
            log.push_back(std::string("up ") + "LRM"[m]);
        };
        return b;
    }

    void Run() { app.ProcessMessages(); }
    // Pointer input at a point of the button (screen = form + button + point).
    void MoveTo(int x, int y) { platform.MoveTo(kFormAt.X + kButtonAt.X + x, kFormAt.Y + kButtonAt.Y + y); }
    void Click(TMouseButton b, int x, int y) {
        platform.Click(b, kFormAt.X + kButtonAt.X + x, kFormAt.Y + kButtonAt.Y + y);
    }

    // What the window shows at two pixels of the 36 x 36 up button: (17, 8)
    // lies on the lit edge P0-P2 only, (24, 20) on the edge P0-P1 only.
    // Released "WK", pressed "KB".
    std::string Look() const {
        const TSurface& shown = platform.WindowByHandle(form->Handle())->Snapshot();
        std::string look;
        for (const TPoint p : {TPoint{17, 8}, TPoint{24, 20}}) {
            const TColor c = ColorFromPixel(shown.Get(kButtonAt.X + p.X, kButtonAt.Y + p.Y));
            look += c == clWhite ? 'W' : c == clBlack ? 'K' : c == kFace ? 'B' : '?';
        }
        return look;
    }

    platform::HeadlessPlatform platform;
    TApplication app;
    TForm* form = nullptr;
    TArrowButton* button = nullptr;
    std::vector<std::string> log;
    int paints = 0;
};

using Log = std::vector<std::string>;

TEST_F(ArrowInput, PressInsideShowsThePressedLookAtOnceAndAReleaseInTheRectangleClicks) {
    MoveTo(18, 20);
    platform.Press(mbLeft);
    Run();
    EXPECT_TRUE(button->Pressed());
    EXPECT_EQ(form->CaptureControl(), button);
    EXPECT_EQ(Look(), "KB");
    // The corner of the rectangle lies outside the triangle: still a click.
    MoveTo(1, 1);
    platform.Release(mbLeft);
    Run();
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(form->CaptureControl(), nullptr);
    EXPECT_EQ(Look(), "WK");
    EXPECT_EQ(log, (Log{"down L", "click", "up L"}));
    EXPECT_EQ(paints, 0);  // both looks were drawn without a repaint
}

TEST_F(ArrowInput, ReleaseOutsideTheRectangleRestoresTheLookWithoutAClick) {
    MoveTo(18, 20);
    platform.Press(mbLeft);
    MoveTo(300, 300);  // outside the window; the button holds the capture
    Run();
    EXPECT_EQ(Look(), "KB");  // moving changes nothing while pressed
    platform.Release(mbLeft);
    Run();
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(Look(), "WK");
    EXPECT_EQ(log, (Log{"down L", "up L"}));
}

TEST_F(ArrowInput, PressOutsideTheTriangleIsIgnoredEntirely) {
    MoveTo(1, 1);
    platform.Press(mbLeft);
    Run();
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(form->CaptureControl(), nullptr);
    MoveTo(18, 20);  // into the triangle before releasing
    platform.Release(mbLeft);
    Click(mbLeft, 34, 2);
    Run();
    EXPECT_TRUE(log.empty()) << log.front();
    EXPECT_EQ(Look(), "WK");
}

TEST_F(ArrowInput, AQuickDoubleClickClicksTwice) {
    platform.DoubleClick(mbLeft, kFormAt.X + kButtonAt.X + 18, kFormAt.Y + kButtonAt.Y + 20);
    Run();
    EXPECT_EQ(log, (Log{"down L", "click", "up L", "down L", "click", "up L"}));
}

TEST_F(ArrowInput, RightAndMiddleButtonsNeitherPressNorClick) {
    for (const TMouseButton b : {mbRight, mbMiddle}) {
        MoveTo(18, 20);
        platform.Press(b);
        Run();
        EXPECT_FALSE(button->Pressed());
        EXPECT_EQ(form->CaptureControl(), nullptr);
        EXPECT_EQ(Look(), "WK");
        platform.Release(b);
        Run();
    }
    EXPECT_EQ(log, (Log{"down R", "up R", "down M", "up M"}));
}

TEST_F(ArrowInput, APressBeforeTheFirstPaintIsIgnored) {
    // Input is handled before the next paint, so this press meets a button
    // without a HitRegion.
    TArrowButton& fresh = AddButton({100, 10});
    ASSERT_FALSE(fresh.HitRegion());
    platform.Click(mbLeft, kFormAt.X + 100 + 18, kFormAt.Y + 10 + 20);
    Run();
    EXPECT_TRUE(log.empty()) << log.front();
    ASSERT_TRUE(fresh.HitRegion());
    platform.Click(mbLeft, kFormAt.X + 100 + 18, kFormAt.Y + 10 + 20);
    Run();
    EXPECT_EQ(log, (Log{"down L", "click", "up L"}));
}

TEST_F(ArrowInput, SettersRepaintOnlyANewValueAndPressesFollowTheNewTriangle) {
    button->SetDirection(widgets::arwUP);
    button->SetButtonColor(kFace);
    EXPECT_FALSE(form->NeedsPaint());
    button->SetButtonColor(clTeal);
    EXPECT_TRUE(form->NeedsPaint());
    Run();
    button->SetDirection(widgets::arwDOWN);
    EXPECT_TRUE(form->NeedsPaint());
    Run();
    EXPECT_EQ(paints, 2);
    Click(mbLeft, 5, 6);  // inside the down triangle, outside the up one
    Run();
    EXPECT_EQ(log, (Log{"down L", "click", "up L"}));
}

TEST_F(ArrowInput, AfterAResizePressesMeetTheOldTriangleUntilTheRepaint) {
    button->SetBounds(kButtonAt.X, kButtonAt.Y, 72, 36);
    Click(mbLeft, 60, 30);  // inside the wide triangle only
    Run();
    EXPECT_TRUE(log.empty()) << log.front();
    Click(mbLeft, 60, 30);
    Run();
    EXPECT_EQ(log, (Log{"down L", "click", "up L"}));
}

TEST_F(ArrowInput, ARepaintWhilePressedDrawsThePressedLook) {
    MoveTo(18, 20);
    platform.Press(mbLeft);
    Run();
    form->Invalidate();
    Run();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(Look(), "KB");
    platform.Release(mbLeft);
    Run();
    EXPECT_EQ(Look(), "WK");
}

TEST_F(ArrowInput, ADisabledButtonLooksTheSameAndTakesNoInput) {
    const TSurface before = platform.WindowByHandle(form->Handle())->Snapshot();
    button->SetEnabled(false);
    Run();
    EXPECT_TRUE(testsupport::SamePixels(before, platform.WindowByHandle(form->Handle())->Snapshot(), "arrow-disabled"));
    Click(mbLeft, 18, 20);
    Run();
    EXPECT_TRUE(log.empty()) << log.front();
    EXPECT_FALSE(button->Pressed());
}

}  // namespace
