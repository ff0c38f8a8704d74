// The tray icon component on the headless backend: numbering, the records
// handed to the notification area, and the dispatch of its notifications.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "gui/Application.h"
#include "gui/Form.h"
#include "gui/PopupMenu.h"
#include "platform/headless/HeadlessPlatform.h"
#include "widgets/TaskTray.h"

namespace widgets {
namespace {

using gui::TComponent;
using gui::TMouseButton;
using gui::TShiftState;
using platform::HeadlessPlatform;
using Log = std::vector<std::string>;

gui::TIcon SquareIcon() {
    return gui::TIcon(gui::TSurface(16, 16, 0xFF0000), std::vector<std::uint8_t>(256, 255));
}

std::string ButtonName(TMouseButton b) {
    return b == gui::mbLeft ? "L" : b == gui::mbRight ? "R" : "M";
}

class TaskTrayTest : public ::testing::Test {
protected:
    TaskTrayTest() : app(platform) {
        app.CreateForm(form, platform::WindowKind::Main);
        form->SetBounds(100, 100, 200, 100);
    }

    TTaskTray& NewTray() { return form->Own<TTaskTray>(); }
    // A tray in the notification area, as the launcher's stored layout makes it.
    TTaskTray& ShownTray(const std::string& tip = "Sorimo") {
        TTaskTray& tray = NewTray();
        tray.SetTipString(tip);
        tray.SetIcon(&icon);
        tray.SetRegistered(true);
        return tray;
    }
    // Every event of the tray, in a log.
    void Listen(TTaskTray& tray) {
        tray.OnDblClick = [this, &tray](TTaskTray* seft, TMouseButton b) {
            log.push_back(std::string(seft == &tray ? "" : "other ") + "dbl " + ButtonName(b));
        };
        tray.OnMouseMove = [this](TComponent*, TShiftState s, int x, int y) {
            log.push_back("move " + Point(s, x, y));
        };
        tray.OnMouseDown = [this](TComponent*, TMouseButton b, TShiftState s, int x, int y) {
            log.push_back("down " + ButtonName(b) + " " + Point(s, x, y));
        };
        tray.OnMouseUp = [this](TComponent*, TMouseButton b, TShiftState s, int x, int y) {
            log.push_back("up " + ButtonName(b) + " " + Point(s, x, y));
        };
    }
    static std::string Point(TShiftState s, int x, int y) {
        return std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y);
    }
    gui::TPopupMenu& LoggedMenu(const std::string& name) {
        gui::TPopupMenu& menu = form->Own<gui::TPopupMenu>();
        menu.OnPopup = [this, name, &menu](TComponent*) {
            log.push_back(name + " at " + std::to_string(menu.PopupPoint().X) + "," +
                          std::to_string(menu.PopupPoint().Y));
        };
        return menu;
    }
    // The calls since the last look, as "add 1", "modify 1", "delete 1".
    Log Calls() {
        Log calls;
        for (std::size_t i = seen; i < platform.NotifyCalls.size(); ++i) {
            const auto& c = platform.NotifyCalls[i];
            const char* what = c.Message == platform::NIM_ADD      ? "add "
                               : c.Message == platform::NIM_MODIFY ? "modify "
                                                                   : "delete ";
            calls.push_back(what + std::to_string(c.Data.uID));
        }
        seen = platform.NotifyCalls.size();
        return calls;
    }
    const platform::NotifyIconData& LastRecord() const { return platform.NotifyCalls.back().Data; }
    TTrayUnit& Unit() { return TTrayUnit::Start(app); }
    void Post(std::uintptr_t id, std::intptr_t mouseMessage) {
        gui::TMsg msg;
        msg.hwnd = Unit().NotifyWindow->Handle();
        msg.message = WM_TRAYNOTIFY;
        msg.wParam = id;
        msg.lParam = mouseMessage;
        app.PostMessage(msg);
    }
    void Run() { app.ProcessMessages(); }

    HeadlessPlatform platform;
    gui::TApplication app;
    gui::TForm* form = nullptr;
    gui::TIcon icon = SquareIcon();
    Log log;
    std::size_t seen = 0;
};

// ------------------------------------------------------------ numbering

TEST_F(TaskTrayTest, NumbersFollowTheLastLiveInstance) {
    TTaskTray& first = NewTray();
    TTaskTray& second = NewTray();
    EXPECT_EQ(first.IconID(), 1);
    EXPECT_EQ(second.IconID(), 2);
    form->DestroyOwned(second);
    EXPECT_EQ(NewTray().IconID(), 2);  // the second again

    TTaskTray& third = NewTray();
    EXPECT_EQ(third.IconID(), 3);
    form->DestroyOwned(first);  // 1 of 1, 2, 3 gone: the last live one decides
    EXPECT_EQ(NewTray().IconID(), 4);
}

TEST_F(TaskTrayTest, ANewInstanceStepsPastNumbersInUse) {
    TTaskTray& first = NewTray();
    TTaskTray& second = NewTray();
    first.SetIconID(3);  // the last entry (2) + 1 is now taken
    TTaskTray& third = NewTray();
    EXPECT_EQ(third.IconID(), 4);
    second.SetIconID(5);
    EXPECT_EQ(NewTray().IconID(), 6);  // after 4 comes 5, in use

    // Each number reaches exactly its own instance.
    for (TTaskTray* t : {&first, &second, &third})
        t->OnDblClick = [this](TTaskTray* seft, TMouseButton) {
            log.push_back(std::to_string(seft->IconID()));
        };
    first.SetIcon(&icon);
    first.SetRegistered(true);
    Post(3, gui::WM_LBUTTONDBLCLK);
    Post(4, gui::WM_LBUTTONDBLCLK);
    Post(5, gui::WM_LBUTTONDBLCLK);
    Run();
    EXPECT_EQ(log, (Log{"3", "4", "5"}));
}

// ------------------------------------------------------------ IconID writes

TEST_F(TaskTrayTest, IconIdWritesAreCheckedAndTheSameValueIssuesNoCall) {
    TTaskTray& other = NewTray();
    TTaskTray& tray = ShownTray();
    Calls();
    for (int bad : {0, -7}) {
        try {
            tray.SetIconID(bad);
            FAIL() << bad;
        } catch (const gui::EInvalidOperation& e) {
            EXPECT_STREQ(e.what(), "0以下は指定できません");
        }
    }
    try {
        tray.SetIconID(other.IconID());
        FAIL();
    } catch (const gui::EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "同じアイコン識別子が有ります");
    }
    tray.SetIconID(tray.IconID());
    EXPECT_EQ(tray.IconID(), 2);
    EXPECT_TRUE(tray.Added());
    EXPECT_TRUE(Calls().empty());
}

TEST_F(TaskTrayTest, ARegisteredIconIdWriteIsADeleteThenAnAdd) {
    TTaskTray& tray = ShownTray();
    Listen(tray);
    const std::uintptr_t hWnd = LastRecord().hWnd;
    Calls();
    tray.SetIconID(9);
    EXPECT_EQ(Calls(), (Log{"delete 1", "add 9"}));
    EXPECT_EQ(platform.NotifyCalls[platform.NotifyCalls.size() - 2].Data.hWnd, hWnd);
    EXPECT_EQ(LastRecord().hWnd, hWnd);
    EXPECT_TRUE(tray.Registered());
    EXPECT_TRUE(tray.Added());

    platform.SendTrayMessage(9, gui::WM_RBUTTONDBLCLK);
    Post(1, gui::WM_LBUTTONDBLCLK);  // the old number is nobody's now
    Run();
    EXPECT_EQ(log, (Log{"dbl R"}));
}

// ------------------------------------------------------------ the record

TEST_F(TaskTrayTest, TheRecordCarriesTheWindowTheMessageAndTheFlags) {
    TTaskTray& tray = ShownTray("");
    EXPECT_EQ(Calls(), (Log{"add 1"}));
    const platform::NotifyIconData& add = LastRecord();
    EXPECT_EQ(add.cbSize, 88u);
    EXPECT_EQ(add.uCallbackMessage, 1126u);
    EXPECT_EQ(add.hWnd, Unit().NotifyWindow->Handle());
    EXPECT_EQ(app.FindControl(add.hWnd), Unit().NotifyWindow);
    EXPECT_EQ(Unit().NotifyWindow->Parent(), form);
    EXPECT_EQ(Unit().NotifyWindow->BoundsRect(), gui::TRect{});
    EXPECT_EQ(add.uFlags, 3u);
    EXPECT_EQ(add.szTip, "");
    EXPECT_EQ(add.Icon.Pixels(), icon.Pixels());

    tray.SetTipString("Sorimo");
    EXPECT_EQ(Calls(), (Log{"modify 1"}));
    EXPECT_EQ(LastRecord().uFlags, 7u);
    EXPECT_EQ(LastRecord().szTip, "Sorimo");
    tray.SetTipString("Sorimo");
    EXPECT_TRUE(Calls().empty());
    tray.SetTipString("");
    EXPECT_EQ(LastRecord().uFlags, 3u);
    EXPECT_EQ(LastRecord().szTip, "");
}

TEST_F(TaskTrayTest, ALongTipIsCutAtACharacterBoundary) {
    TTaskTray& tray = ShownTray(std::string(60, 'a') + "あ");  // exactly 63 bytes
    EXPECT_EQ(LastRecord().szTip, std::string(60, 'a') + "あ");
    tray.SetTipString(std::string(62, 'a') + "あい");  // "あ" would cross byte 63
    EXPECT_EQ(LastRecord().szTip, std::string(62, 'a'));
    EXPECT_EQ(tray.TipString(), std::string(62, 'a') + "あい");
    tray.SetTipString(std::string(61, 'a') + "éx");  // é ends at byte 63
    EXPECT_EQ(LastRecord().szTip, std::string(61, 'a') + "é");
}

// ------------------------------------------------------------ registering

TEST_F(TaskTrayTest, RegisteringNeedsAnIconAndUnregisteringANeverAddedIconIsSilent) {
    TTaskTray& tray = NewTray();
    tray.SetRegistered(false);
    try {
        tray.SetRegistered(true);
        FAIL();
    } catch (const gui::EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "アイコンが指定されていません");
    }
    EXPECT_FALSE(tray.Registered());
    tray.SetTipString("no effect while unregistered");
    tray.SetIcon(&icon);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(Unit().NotifyWindow, nullptr);

    tray.SetIcon(&tray.Icon());  // its own icon: nothing
    tray.SetRegistered(true);
    EXPECT_EQ(Calls(), (Log{"add 1"}));
    tray.SetIcon(nullptr);  // none: the icon leaves the area
    EXPECT_EQ(Calls(), (Log{"modify 1", "delete 1"}));
    EXPECT_FALSE(tray.Registered());
    EXPECT_TRUE(tray.Icon().Empty());
}

TEST_F(TaskTrayTest, ARefusedAddStaysPendingAndIsTriedAgain) {
    TTaskTray& tray = NewTray();
    tray.SetIcon(&icon);
    platform.NotifyIconResult = false;
    try {
        tray.SetRegistered(true);
        FAIL();
    } catch (const gui::EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "タスクトレイに登録できません");
    }
    EXPECT_TRUE(tray.Registered());
    EXPECT_FALSE(tray.Added());
    platform.NotifyIconResult = true;
    tray.SetTipString("again");
    EXPECT_EQ(Calls(), (Log{"add 1", "add 1"}));
    EXPECT_TRUE(tray.Added());
}

TEST_F(TaskTrayTest, AStoredLayoutAddsTheIconThenModifiesItOnce) {
    form->LoadLayout([&] {
        TTaskTray& tray = NewTray();
        tray.SetTipString("Sorimo");
        tray.SetIcon(&icon);
        tray.SetIconID(1);
        tray.SetRegistered(true);
    });
    EXPECT_EQ(Calls(), (Log{"add 1", "modify 1"}));
    EXPECT_EQ(LastRecord().szTip, "Sorimo");
}

TEST_F(TaskTrayTest, AStoredLayoutRegisteringWithoutAnIconFails) {
    EXPECT_THROW(form->LoadLayout([&] { NewTray().SetRegistered(true); }), gui::EInvalidOperation);
    EXPECT_TRUE(Calls().empty());
}

// ------------------------------------------------------------ dispatch

TEST_F(TaskTrayTest, EachMouseMessageRaisesItsEventAtTheCursor) {
    TTaskTray& tray = ShownTray();
    Listen(tray);
    platform.MoveTo(700, 740);
    // One at a time: a press processes pending messages while it is busy.
    for (int m : {512, 513, 514, 515, 516, 517, 518, 519, 520, 521, 0x2A3}) {
        platform.SendTrayMessage(1, m);
        Run();
    }
    EXPECT_EQ(log, (Log{"move 0 700,740", "down L 8 700,740", "up L 8 700,740", "dbl L",
                        "down R 16 700,740", "up R 16 700,740", "dbl R", "down M 32 700,740",
                        "up M 32 700,740"}));
}

TEST_F(TaskTrayTest, ARightPressRaisesOnMouseDownThenShowsTheRightMenuAtTheCursor) {
    gui::TForm* other = nullptr;
    app.CreateForm(other);
    other->SetBounds(0, 0, 50, 50);
    form->Show();
    other->Show();  // on top, until the press brings the owner up
    TTaskTray& tray = ShownTray();
    Listen(tray);
    tray.SetPopupMenuL(&LoggedMenu("left menu"));
    tray.SetPopupMenuR(&LoggedMenu("right menu"));
    platform.MoveTo(640, 700);
    for (std::uint32_t press : {gui::WM_RBUTTONDOWN, gui::WM_MBUTTONDOWN, gui::WM_LBUTTONDOWN}) {
        platform.SendTrayMessage(1, press);  // the middle button never shows a menu
        Run();
    }
    EXPECT_EQ(log, (Log{"down R 16 640,700", "right menu at 640,700", "down M 32 640,700",
                        "down L 8 640,700", "left menu at 640,700"}));
    EXPECT_EQ(platform.Windows().back()->Handle(), form->Handle());
}

TEST_F(TaskTrayTest, AMenuRunsItsModalLoopWhileOtherNotificationsAreDropped) {
    TTaskTray& tray = ShownTray();
    Listen(tray);
    gui::TPopupMenu& menu = LoggedMenu("menu");
    menu.Items.push_back({"Show", [this](TComponent*) { log.push_back("chosen"); }});
    tray.SetPopupMenuR(&menu);
    platform.MoveTo(300, 300);
    platform.SendTrayMessage(1, gui::WM_RBUTTONDOWN);
    platform.After(10, [&] { platform.SendTrayMessage(1, gui::WM_LBUTTONDBLCLK); });
    platform.After(20, [&] { platform.Click(gui::mbLeft, 310, 310); });  // the first item
    Run();
    EXPECT_EQ(log, (Log{"down R 16 300,300", "menu at 300,300", "chosen"}));
    EXPECT_FALSE(Unit().NotifyBusy);

    platform.SendTrayMessage(1, gui::WM_LBUTTONDBLCLK);
    Run();
    EXPECT_EQ(log.back(), "dbl L");
}

TEST_F(TaskTrayTest, NotificationsArrivingDuringDispatchOrForUnknownNumbersAreDropped) {
    TTaskTray& tray = ShownTray();
    Listen(tray);
    tray.OnMouseUp = [&](TComponent*, TMouseButton, TShiftState, int, int) {
        log.push_back("up");
        platform.SendTrayMessage(1, gui::WM_LBUTTONDBLCLK);
        app.ProcessMessages();  // a nested loop sees it while we are busy
    };
    platform.SendTrayMessage(1, gui::WM_LBUTTONUP);
    Post(2, gui::WM_LBUTTONDBLCLK);
    Post(0, gui::WM_LBUTTONDBLCLK);
    Run();
    EXPECT_EQ(log, (Log{"up"}));
}

TEST_F(TaskTrayTest, AThrowingHandlerClearsTheBusyFlagAndItsErrorIsShown) {
    TTaskTray& tray = ShownTray();
    Listen(tray);
    tray.OnDblClick = [](TTaskTray*, TMouseButton) { throw gui::EInvalidOperation("壊れた"); };
    platform.MoveTo(5, 6);
    platform.SendTrayMessage(1, gui::WM_LBUTTONDBLCLK);
    platform.SendTrayMessage(1, gui::WM_MOUSEMOVE);
    Run();
    ASSERT_EQ(platform.ErrorBoxes.size(), 1u);
    EXPECT_EQ(platform.ErrorBoxes[0].Message, "壊れた");
    EXPECT_EQ(log, (Log{"move 0 5,6"}));
}

TEST_F(TaskTrayTest, AHandlerMayDestroyTheTray) {
    TTaskTray& tray = ShownTray();
    tray.SetPopupMenuR(&LoggedMenu("menu"));
    tray.OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) {
        form->DestroyOwned(tray);
    };
    platform.SendTrayMessage(1, gui::WM_RBUTTONDOWN);
    Run();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Calls(), (Log{"add 1", "delete 1"}));
    EXPECT_FALSE(Unit().NotifyBusy);
}

// ------------------------------------------------------------ menus

TEST_F(TaskTrayTest, ADestroyedMenuClearsBothReferences) {
    TTaskTray& tray = NewTray();
    gui::TPopupMenu& shared = LoggedMenu("shared");
    gui::TPopupMenu& kept = LoggedMenu("kept");
    tray.SetPopupMenuL(&shared);
    tray.SetPopupMenuR(&shared);
    form->DestroyOwned(shared);
    EXPECT_EQ(tray.PopupMenuL(), nullptr);
    EXPECT_EQ(tray.PopupMenuR(), nullptr);

    tray.SetPopupMenuL(&kept);
    tray.SetPopupMenuR(&LoggedMenu("replaced"));
    tray.SetPopupMenuR(&kept);
    form->DestroyOwned(NewTray());  // another component's removal changes nothing
    EXPECT_EQ(tray.PopupMenuL(), &kept);
    EXPECT_EQ(tray.PopupMenuR(), &kept);
}

// ------------------------------------------------------------ lifetime

TEST_F(TaskTrayTest, AReCreatedNotificationAreaGetsEveryRegisteredIconAgain) {
    TTaskTray& first = ShownTray();
    NewTray();  // not registered: stays out
    TTaskTray& third = ShownTray("third");
    Listen(third);
    Calls();
    platform.SendTrayRecreated();
    Run();
    EXPECT_EQ(Calls(), (Log{"add 1", "add 3"}));
    EXPECT_EQ(LastRecord().hWnd, Unit().NotifyWindow->Handle());
    first.SetTipString("changed");
    EXPECT_EQ(Calls(), (Log{"modify 1"}));
    platform.SendTrayMessage(3, gui::WM_LBUTTONDBLCLK);
    Run();
    EXPECT_EQ(log, (Log{"dbl L"}));
}

TEST_F(TaskTrayTest, ARefusedReAddIsShownAndTheOthersStillGetAdded) {
    ShownTray();
    ShownTray();
    Calls();
    platform.NotifyIconResult = false;
    platform.SendTrayRecreated();
    Run();
    EXPECT_EQ(Calls(), (Log{"add 1", "add 2"}));
    EXPECT_EQ(platform.ErrorBoxes.size(), 2u);
}

TEST_F(TaskTrayTest, DestructionDeletesTheIconWithTheSameWindowAndNumber) {
    TTaskTray& tray = ShownTray();
    tray.SetIconID(4);
    const platform::NotifyIconData added = LastRecord();
    form->DestroyOwned(tray);
    EXPECT_EQ(platform.NotifyCalls.back().Message, platform::NIM_DELETE);
    EXPECT_EQ(LastRecord().hWnd, added.hWnd);
    EXPECT_EQ(LastRecord().uID, 4u);
}

TEST(TaskTrayShutdown, ClosingTheProgramDeletesTheIconAfterItsWindowIsGone) {
    HeadlessPlatform platform;
    std::uintptr_t hWnd = 0;
    {
        gui::TApplication app(platform);
        gui::TForm* form = nullptr;
        app.CreateForm(form, platform::WindowKind::Main);
        TTaskTray& tray = form->Own<TTaskTray>();
        const gui::TIcon icon = SquareIcon();
        tray.SetIcon(&icon);
        tray.SetRegistered(true);  // the notification window is made after the tray
        hWnd = platform.NotifyCalls.back().Data.hWnd;
    }
    ASSERT_EQ(platform.NotifyCalls.size(), 2u);
    EXPECT_EQ(platform.NotifyCalls[1].Message, platform::NIM_DELETE);
    EXPECT_EQ(platform.NotifyCalls[1].Data.hWnd, hWnd);
    EXPECT_EQ(platform.NotifyCalls[1].Data.uID, 1u);
}

TEST_F(TaskTrayTest, TheNotificationWindowDiesWithItsOwnerAndIsMadeAgain) {
    gui::TForm* second = nullptr;
    app.CreateForm(second);
    ShownTray();  // the window is made under `form`
    TTaskTray& survivor = second->Own<TTaskTray>();
    survivor.SetIcon(&icon);
    survivor.SetRegistered(true);
    Listen(survivor);
    const std::uintptr_t oldWindow = LastRecord().hWnd;
    app.DestroyOwned(*form);
    EXPECT_EQ(Unit().NotifyWindow, nullptr);
    EXPECT_EQ(app.FindControl(oldWindow), nullptr);
    platform.SendTrayMessage(2, gui::WM_LBUTTONDBLCLK);  // to the dead window: lost
    Run();

    survivor.SetRegistered(false);
    survivor.SetRegistered(true);  // a new window, now under `second`
    EXPECT_NE(LastRecord().hWnd, oldWindow);
    EXPECT_EQ(Unit().NotifyWindow->Parent(), second);
    platform.SendTrayMessage(2, gui::WM_LBUTTONDBLCLK);
    Run();
    EXPECT_EQ(log, (Log{"dbl L"}));
}

}  // namespace
}  // namespace widgets
