// The blotter panel on a form of the headless backend: repainted whole on
// every change of its bounds or Color, and a drag handle that keeps the
// pointer while the left button is held.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/Application.h"
#include "gui/Form.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/PixelDiff.h"
#include "widgets/Blotter2.h"

namespace {

using namespace gui;
using widgets::TkestBlotter;

constexpr TColor kBoard = gfx::TColor{0xF7C4CA};

class BlotterOnAForm : public ::testing::Test {
protected:
    BlotterOnAForm() : app(platform) {
        app.CreateForm(form, platform::WindowKind::Main);
        form->SetBounds(0, 0, 300, 200);
        form->SetColor(clWhite);
        panel = &form->Own<TkestBlotter>();
        panel->SetParent(form);
        panel->SetBounds(10, 10, 210, 102);
        panel->SetColor(kBoard);
        form->Show();
        Run();
    }
    void Run() { app.ProcessMessages(); }
    const TSurface& Shown() const { return platform.WindowByHandle(form->Handle())->Snapshot(); }

    // The window as it should look: white with a freshly painted panel.
    TSurface Expected() const {
        TSurface expected(form->Width(), form->Height(), PixelFromColor(clWhite));
        TkestBlotter fresh(nullptr);
        fresh.SetBounds(0, 0, panel->Width(), panel->Height());
        fresh.SetColor(panel->Color());
        TCanvas canvas(expected);
        canvas.SetOrigin({panel->Left(), panel->Top()});
        canvas.IntersectClip(fresh.ClientRect());
        fresh.PaintTo(canvas);
        return expected;
    }

    platform::HeadlessPlatform platform;
    TApplication app;
    TForm* form = nullptr;
    TkestBlotter* panel = nullptr;
};

TEST_F(BlotterOnAForm, ResizingMovingAndRecolouringLeaveNoStalePixels) {
    ASSERT_TRUE(testsupport::SamePixels(Expected(), Shown(), "blotter-first"));
    panel->SetBounds(10, 10, 150, 80);  // shrink: the old corners must go
    Run();
    EXPECT_TRUE(testsupport::SamePixels(Expected(), Shown(), "blotter-shrunk"));
    panel->SetBounds(40, 30, 240, 150);  // move and grow
    Run();
    EXPECT_TRUE(testsupport::SamePixels(Expected(), Shown(), "blotter-moved"));
    panel->SetColor(clYellow);
    Run();
    EXPECT_TRUE(testsupport::SamePixels(Expected(), Shown(), "blotter-recoloured"));
}

TEST_F(BlotterOnAForm, ALeftDragKeepsReachingThePanelOutsideIt) {
    std::vector<std::string> log;
    auto point = [](int x, int y) { return std::to_string(x) + "," + std::to_string(y); };
    panel->OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int x, int y) {
        log.push_back("down " + point(x, y));
    };
    panel->OnMouseMove = [&](TComponent*, TShiftState, int x, int y) { log.push_back("move " + point(x, y)); };
    panel->OnMouseUp = [&](TComponent*, TMouseButton, TShiftState, int x, int y) {
        log.push_back("up " + point(x, y));
    };
    platform.MoveTo(15, 15);
    platform.Press(mbLeft);
    platform.MoveTo(500, 400);
    platform.Release(mbLeft);
    Run();
    EXPECT_EQ(log, (std::vector<std::string>{"move 5,5", "down 5,5", "move 490,390", "up 490,390"}));
}

}  // namespace
