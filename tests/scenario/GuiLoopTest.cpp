// The GUI layer's behaviour on the headless backend: mouse routing, the
// paint cycle, timers, modal loops and errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/Application.h"
#include "gui/Form.h"
#include "gui/Panel.h"
#include "gui/Timer.h"
#include "platform/headless/HeadlessPlatform.h"

namespace gui {
namespace {

using platform::HeadlessPlatform;

// A control that logs every event it gets.
class Probe : public TGraphicControl {
public:
    Probe(TComponent* owner, std::vector<std::string>& log, std::string name)
        : TGraphicControl(owner), log_(log), name_(std::move(name)) {
        OnMouseDown = [this](TComponent*, TMouseButton b, TShiftState s, int x, int y) {
            Log("down", b, s, x, y);
        };
        OnMouseUp = [this](TComponent*, TMouseButton b, TShiftState s, int x, int y) {
            Log("up", b, s, x, y);
        };
        OnClick = [this](TComponent*) { log_.push_back(name_ + " click"); };
        OnMouseEnter = [this](TComponent*) { log_.push_back(name_ + " enter"); };
        OnMouseLeave = [this](TComponent*) { log_.push_back(name_ + " leave"); };
    }

private:
    void Log(const char* what, TMouseButton b, TShiftState s, int x, int y) {
        const char* button = b == mbLeft ? "L" : b == mbRight ? "R" : "M";
        log_.push_back(name_ + " " + what + " " + button + ((s & ssDouble) ? " dbl" : "") + " " +
                       std::to_string(x) + "," + std::to_string(y));
    }
    std::vector<std::string>& log_;
    std::string name_;
};

class TestForm : public TForm {
public:
    TestForm(TApplication& app, std::vector<std::string>& log)
        : TForm(app, platform::WindowKind::Main) {
        SetBounds(100, 100, 200, 100);
        SetCaption("test");
        a = &Own<Probe>(log, "a");
        a->SetParent(this);
        a->SetBounds(10, 10, 50, 50);
        b = &Own<Probe>(log, "b");
        b->SetParent(this);
        b->SetBounds(100, 10, 50, 50);
        b->ControlStyle &= ~csDoubleClicks;
    }
    Probe* a;
    Probe* b;
};

class GuiLoop : public ::testing::Test {
protected:
    GuiLoop() : app(platform) {
        app.CreateForm(form, log);
        form->Show();
        app.ProcessMessages();
        log.clear();
    }
    void Run() { app.ProcessMessages(); }

    HeadlessPlatform platform;
    TApplication app;
    TestForm* form = nullptr;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST_F(GuiLoop, LeftPressCapturesUntilReleaseAndClicksOnlyInside) {
    platform.MoveTo(120, 120);  // over a at (10, 10) + (10, 10)
    platform.Press(mbLeft);
    platform.MoveTo(400, 400);  // far outside the window
    platform.Release(mbLeft);
    Run();
    EXPECT_EQ(log, (Log{"a enter", "a down L 10,10", "a leave", "a up L 290,290"}));
    EXPECT_EQ(form->CaptureControl(), nullptr);

    log.clear();
    platform.Click(mbLeft, 125, 125);
    Run();
    EXPECT_EQ(log, (Log{"a enter", "a down L 15,15", "a click", "a up L 15,15"}));
}

TEST_F(GuiLoop, RightReleaseReachesOnlyTheControlUnderThePointer) {
    platform.MoveTo(120, 120);
    platform.Press(mbRight);
    platform.MoveTo(220, 120);  // over b
    platform.Release(mbRight);
    Run();
    platform.SetNow(platform.NowMs() + 1000);  // no double click with the next press
    platform.MoveTo(120, 120);
    platform.Press(mbRight);
    platform.MoveTo(500, 500);  // outside the window: nobody gets the release
    platform.Release(mbRight);
    Run();
    EXPECT_EQ(log, (Log{"a enter", "a down R 10,10", "a leave", "b enter", "b up R 20,10",
                        "b leave", "a enter", "a down R 10,10", "a leave"}));
}

TEST_F(GuiLoop, EnterAndLeaveFollowThePointerDuringCapture) {
    platform.MoveTo(120, 120);
    platform.Press(mbLeft);
    platform.MoveTo(220, 120);  // across b while a holds the capture
    platform.MoveTo(121, 121);
    platform.Release(mbLeft);
    Run();
    EXPECT_EQ(log, (Log{"a enter", "a down L 10,10", "a leave", "b enter", "b leave", "a enter",
                        "a click", "a up L 11,11"}));
}

TEST_F(GuiLoop, HidingTheFormReleasesTheCaptureAndTheHover) {
    platform.MoveTo(120, 120);
    platform.Press(mbLeft);  // a holds the capture
    Run();
    form->Hide();
    EXPECT_EQ(form->CaptureControl(), nullptr);
    EXPECT_EQ(form->HoverControl(), nullptr);
    form->Show();
    platform.MoveTo(220, 120);  // over b: the release is b's, not a's
    platform.Release(mbLeft);
    Run();
    EXPECT_EQ(log, (Log{"a enter", "a down L 10,10", "a leave", "b enter", "b up L 20,10"}));
}

TEST_F(GuiLoop, ALeaveHandlerThatHidesTheFormStopsTheEnterOfTheNextControl) {
    form->a->OnMouseLeave = [this](TComponent*) {
        log.push_back("a leave");
        form->Hide();
    };
    platform.MoveTo(120, 120);
    platform.MoveTo(220, 120);  // from a to b
    Run();
    EXPECT_EQ(log, (Log{"a enter", "a leave"}));
    EXPECT_EQ(form->HoverControl(), nullptr);
}

// Drags of files went to the form alone, which then had to find out itself
// which of its controls lay under the point. They are routed as the mouse
// is: to the control under the point (or its nearest parent that handles
// drags), in its own coordinates, the one left behind hearing its leave
// first; a disabled control passes them on like one without handlers.
TEST_F(GuiLoop, FileDragsGoToTheControlUnderThePointAndLeaveBeforeTheNextEnters) {
    const auto listen = [this](TControl& control, const std::string& name, bool accepts) {
        control.OnFileDragOver = [this, &control, name, accepts](TComponent* sender, int x, int y,
                                                                 TDragState state, bool& accept) {
            const char* what = state == dsDragEnter  ? "enter"
                               : state == dsDragMove ? "move"
                                                     : "leave";
            log.push_back(name + " drag " + what + " " + std::to_string(x) + "," +
                          std::to_string(y) + (sender == &control ? "" : " (wrong sender)"));
            accept = accepts;
        };
        control.OnFileDrop = [this, name](TComponent*, const std::vector<std::string>& files, int x,
                                          int y, bool& accept) {
            log.push_back(name + " drop " + files.front() + " " + std::to_string(x) + "," +
                          std::to_string(y));
            accept = true;
        };
    };
    listen(*form->a, "a", true);
    listen(*form, "form", false);  // b has no handlers: the form takes its part
    platform.DragTo(120, 120);
    platform.DragTo(125, 121);
    platform.DragTo(220, 120);  // over b
    platform.DragTo(121, 121);
    platform.Drop({"/x"});
    platform.DragTo(220, 120);
    platform.DragAway();
    Run();
    form->a->SetEnabled(false);
    platform.DragTo(120, 120);
    platform.Drop({"/y"});
    Run();
    EXPECT_EQ(log, (Log{"a drag enter 10,10", "a drag move 15,11", "a drag leave 15,11",
                        "form drag enter 120,20", "form drag leave 120,20", "a drag enter 11,11",
                        "a drop /x 11,11", "form drag enter 120,20", "form drag leave 120,20",
                        "form drag enter 20,20", "form drop /y 20,20"}));
    std::vector<bool> overAnswers;
    for (const auto& a : platform.DragAnswers)
        if (a.Action == platform::DragAction::Over) overAnswers.push_back(a.Accepted);
    EXPECT_EQ(overAnswers, (std::vector<bool>{true, true, false, true, false, false}));
    EXPECT_FALSE(form->FileDragInside());
}

TEST_F(GuiLoop, DoubleClickIsASecondPressForControlsWithoutDoubleClicks) {
    platform.DoubleClick(mbLeft, 210, 120);  // b: no double clicks
    platform.DoubleClick(mbLeft, 120, 120);  // a: takes them
    Run();
    EXPECT_EQ(log, (Log{"b enter", "b down L 10,10", "b click", "b up L 10,10", "b down L 10,10",
                        "b click", "b up L 10,10", "b leave", "a enter", "a down L 10,10",
                        "a click", "a up L 10,10", "a down L dbl 10,10", "a up L 10,10"}));
}

TEST_F(GuiLoop, SlowSecondPressIsNoDoubleClick) {
    platform.Click(mbLeft, 120, 120);
    Run();
    platform.SetNow(platform.NowMs() + 600);
    platform.Click(mbLeft, 120, 120);
    Run();
    for (const std::string& line : log) EXPECT_EQ(line.find("dbl"), std::string::npos) << line;
}

TEST_F(GuiLoop, ABurstOfInvalidationsGivesOnePaintPerForm) {
    int paints = 0;
    app.OnMessage = [&](TMsg& msg, bool&) {
        if (msg.message == WM_PAINT) ++paints;
    };
    for (int i = 0; i < 10; ++i) form->a->Invalidate();
    form->b->Invalidate();
    Run();
    EXPECT_EQ(paints, 1);
    Run();
    EXPECT_EQ(paints, 1);
}

TEST_F(GuiLoop, SettingTheSameIntervalDoesNotRestartATimer) {
    TTimer& timer = form->Own<TTimer>();
    std::vector<std::int64_t> fired;
    timer.SetInterval(0);
    timer.SetOnTimer([&](TComponent*) {
        fired.push_back(platform.NowMs());
        timer.SetInterval(0);
    });
    const std::int64_t start = platform.NowMs();
    timer.SetInterval(500);
    platform.After(300, [&] { timer.SetInterval(500); });  // same value: no restart
    platform.After(1000, [&] { app.Terminate(); });
    while (!app.Terminated()) app.HandleMessage();
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0], start + 500);
}

TEST_F(GuiLoop, AnotherIntervalRestartsTheTimer) {
    TTimer& timer = form->Own<TTimer>();
    std::vector<std::int64_t> fired;
    timer.SetOnTimer([&](TComponent*) {
        fired.push_back(platform.NowMs());
        timer.SetInterval(0);
    });
    const std::int64_t start = platform.NowMs();
    timer.SetInterval(500);
    platform.After(300, [&] { timer.SetInterval(400); });
    platform.After(1000, [&] { app.Terminate(); });
    while (!app.Terminated()) app.HandleMessage();
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0], start + 700);
}

TEST_F(GuiLoop, TimersFireInsideAModalLoop) {
    TForm* dialog = nullptr;
    app.CreateForm(dialog);
    dialog->SetBounds(0, 0, 50, 50);
    TTimer& timer = form->Own<TTimer>();
    int ticks = 0;
    timer.SetOnTimer([&](TComponent*) {
        if (++ticks == 3) dialog->Close();
    });
    timer.SetInterval(100);
    // Input to the form behind is dropped while the dialog is open.
    platform.After(50, [&] { platform.Click(mbLeft, 120, 120); });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(dialog->Visible());
    EXPECT_TRUE(log.empty()) << log.front();
}

TEST_F(GuiLoop, AnErrorInAHandlerIsShownAndTheLoopGoesOn) {
    form->a->OnClick = [](TComponent*) { throw EInvalidOperation("壊れた"); };
    platform.Click(mbLeft, 120, 120);
    platform.Click(mbLeft, 220, 120);
    Run();
    ASSERT_EQ(platform.ErrorBoxes.size(), 1u);
    EXPECT_EQ(platform.ErrorBoxes[0].Title, "sorimo");
    EXPECT_EQ(platform.ErrorBoxes[0].Message, "壊れた");
    EXPECT_EQ(form->CaptureControl(), nullptr);  // the capture did not stick
    EXPECT_NE(std::find(log.begin(), log.end(), "b click"), log.end());
}

TEST_F(GuiLoop, AControlDestroyedByItsOwnHandlerIsSafe) {
    form->a->OnClick = [&](TComponent*) { form->DestroyOwned(*form->a); };
    platform.Click(mbLeft, 120, 120);
    platform.MoveTo(121, 121);
    Run();
    EXPECT_EQ(form->ControlCount(), 1);
    EXPECT_EQ(form->CaptureControl(), nullptr);
    EXPECT_EQ(form->HoverControl(), form);  // nothing left above the form there
}

TEST_F(GuiLoop, AnIdleLoopNeverWakesWithoutTimers) {
    platform.At(platform.NowMs() + 3'600'000, [&] { app.Terminate(); });
    app.Run();
    EXPECT_EQ(platform.TimerWakeups(), 0u);
    EXPECT_EQ(platform.StepWakeups(), 1u);
}

TEST_F(GuiLoop, ClosingTheMainFormTerminatesAndAnAbandonedCloseDoesNot) {
    form->OnClose = [](TComponent*, TCloseAction&) { throw std::runtime_error("nein"); };
    platform.SendCloseRequest(form->Handle());
    Run();
    EXPECT_FALSE(app.Terminated());
    EXPECT_TRUE(form->Visible());
    form->OnClose = nullptr;
    platform.SendCloseRequest(form->Handle());
    Run();
    EXPECT_TRUE(app.Terminated());
}

class FailingForm : public TForm {
public:
    explicit FailingForm(TApplication& app) : TForm(app) { throw ELayoutError("layout"); }
};

TEST(GuiApplication, FailingFormConstructionClearsItsReference) {
    HeadlessPlatform platform;
    TApplication app(platform);
    FailingForm* ref = reinterpret_cast<FailingForm*>(0x1);
    EXPECT_THROW(app.CreateForm(ref), ELayoutError);
    EXPECT_EQ(ref, nullptr);
    EXPECT_EQ(app.MainForm(), nullptr);
}

// A form whose layout starts a timer and then fails, as a form does when a
// component refuses to load after another one started.
class FailingFormWithATimer : public TForm {
public:
    explicit FailingFormWithATimer(TApplication& app) : TForm(app) {
        Own<TTimer>().SetOnTimer([](TComponent*) { ADD_FAILURE() << "a dead form's timer fired"; });
        throw ELayoutError("layout");
    }
};

TEST(GuiApplication, AFailedFormLeavesNoTimerBehind) {
    HeadlessPlatform platform;
    TApplication app(platform);
    FailingFormWithATimer* ref = nullptr;
    EXPECT_THROW(app.CreateForm(ref), ELayoutError);
    EXPECT_EQ(app.NextTimerDue(), -1);
    platform.After(5000, [&] { app.Terminate(); });
    while (!app.Terminated()) app.HandleMessage();
}

TEST(GuiApplication, TheFirstFormIsTheMainFormAndGetsItsWindowAtOnce) {
    HeadlessPlatform platform;
    TApplication app(platform);
    TForm* first = nullptr;
    TForm* second = nullptr;
    app.CreateForm(first);
    app.CreateForm(second);
    EXPECT_EQ(app.MainForm(), first);
    EXPECT_NE(first->Native(), nullptr);
    EXPECT_EQ(second->Native(), nullptr);
}

class Tracked : public TComponent {
public:
    Tracked(TComponent* owner, std::vector<std::string>& log, std::string name)
        : TComponent(owner), log_(log) {
        SetName(std::move(name));
    }
    ~Tracked() override { log_.push_back("~" + Name()); }
    void Notification(TComponent* c, TOperation op) override {
        if (op == opRemove) log_.push_back(Name() + " heard " + c->Name());
    }

private:
    std::vector<std::string>& log_;
};

TEST(GuiComponents, OwnedComponentsDieInReverseOrderWithRemovalNotices) {
    std::vector<std::string> log;
    {
        Tracked root(nullptr, log, "root");
        Tracked& first = root.Own<Tracked>(log, "first");
        Tracked& second = root.Own<Tracked>(log, "second");
        root.Own<Tracked>(log, "third");
        first.FreeNotification(&second);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"~root", "~third", "~second", "first heard second",
                                             "~first"}));
}

}  // namespace
}  // namespace gui
