// The tray icon component on the headless backend: numbering, the records
// handed to the notification area, and the dispatch of its notifications.
#include <gtest/gtest.h>

#include <cstdint>
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
using gfx::TMouseButton;
using gfx::TShiftState;
using Log = std::vector<std::string>;

gfx::TIcon SquareIcon() {
    return gfx::TIcon(gfx::TSurface(16, 16, 0xFF0000), std::vector<std::uint8_t>(256, 255));
}

template <class F>
std::string ErrorOf(F&& write) {
    try {
        write();
    } catch (const gui::EInvalidOperation& e) {
        return e.what();
    }
    return "none";
}

class TaskTrayTest : public ::testing::Test {
protected:
    TaskTrayTest() : app(platform) { app.CreateForm(form, platform::WindowKind::Main); }

    TTaskTray& NewTray() { return form->Own<TTaskTray>(); }
    TTaskTray& ShownTray(const std::string& tip = "Sorimo") {
        TTaskTray& tray = NewTray();
        tray.SetTipString(tip);
        tray.SetIcon(&icon);
        tray.SetRegistered(true);
        return tray;
    }
    // Logs every event as "down R 16 x,y" (button, shift, cursor).
    void Listen(TTaskTray& tray) {
        auto name = [](TMouseButton b) { return b == gfx::mbLeft ? "L" : b == gfx::mbRight ? "R" : "M"; };
        auto at = [](TShiftState s, int x, int y) {
            return std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y);
        };
        tray.OnDblClick = [this, &tray, name](TTaskTray* seft, TMouseButton b) {
            log.push_back(std::string(seft == &tray ? "dbl " : "wrong Seft ") + name(b));
        };
        tray.OnMouseMove = [this, at](TComponent*, TShiftState s, int x, int y) {
            log.push_back("move " + at(s, x, y));
        };
        tray.OnMouseDown = [this, name, at](TComponent*, TMouseButton b, TShiftState s, int x, int y) {
            log.push_back(std::string("down ") + name(b) + " " + at(s, x, y));
        };
        tray.OnMouseUp = [this, name, at](TComponent*, TMouseButton b, TShiftState s, int x, int y) {
            log.push_back(std::string("up ") + name(b) + " " + at(s, x, y));
        };
    }
    gui::TPopupMenu& LoggedMenu(const std::string& name) {
        gui::TPopupMenu& menu = form->Own<gui::TPopupMenu>();
        menu.OnPopup = [this, name, &menu](TComponent*) {
            log.push_back(name + " " + std::to_string(menu.PopupPoint().X) + "," +
                          std::to_string(menu.PopupPoint().Y));
        };
        return menu;
    }
    // The calls since the last look, as "add 1", "modify 1", "delete 1".
    Log Calls() {
        Log calls;
        for (; seen < platform.NotifyCalls.size(); ++seen) {
            const auto& c = platform.NotifyCalls[seen];
            const char* what = c.Message == platform::NIM_ADD      ? "add "
                               : c.Message == platform::NIM_MODIFY ? "modify "
                                                                   : "delete ";
            calls.push_back(what + std::to_string(c.Data.uID));
        }
        return calls;
    }
    const platform::NotifyIconData& Last() const { return platform.NotifyCalls.back().Data; }
    TTrayUnit& Unit() { return TTrayUnit::Start(app); }
    // A callback for any number, straight to the notification window.
    void Post(std::uintptr_t id, std::intptr_t mouseMessage) {
        app.PostInput(gui::TTrayNotice{Unit().NotifyWindow->Handle(), WM_TRAYNOTIFY, id, mouseMessage, {}});
    }
    void Send(std::uint32_t id, std::intptr_t mouseMessage) {
        platform.SendTrayMessage(id, mouseMessage);
        app.ProcessMessages();
    }

    platform::HeadlessPlatform platform;
    gui::TApplication app;
    gui::TForm* form = nullptr;
    gfx::TIcon icon = SquareIcon();
    Log log;
    std::size_t seen = 0;
};

TEST_F(TaskTrayTest, NumbersFollowTheLastLiveInstanceAndSkipNumbersInUse) {
    TTaskTray& first = NewTray();
    TTaskTray& second = NewTray();
    EXPECT_EQ(first.IconID(), 1);
    EXPECT_EQ(second.IconID(), 2);
    form->DestroyOwned(second);
    TTaskTray& again = NewTray();
    EXPECT_EQ(again.IconID(), 2);
    NewTray();
    form->DestroyOwned(first);  // of 1, 2, 3 the first is gone
    EXPECT_EQ(NewTray().IconID(), 4);

    again.SetIconID(5);  // the last entry (4) + 1 is taken now
    EXPECT_EQ(NewTray().IconID(), 6);
}

TEST_F(TaskTrayTest, IconIdWritesAreCheckedAndARegisteredOneIsADeleteThenAnAdd) {
    TTaskTray& other = NewTray();
    TTaskTray& tray = ShownTray();
    Listen(tray);
    const std::uintptr_t hWnd = Last().hWnd;
    Calls();
    EXPECT_EQ(ErrorOf([&] { tray.SetIconID(0); }), "0以下は指定できません");
    EXPECT_EQ(ErrorOf([&] { tray.SetIconID(other.IconID()); }), "同じアイコン識別子が有ります");
    tray.SetIconID(2);  // its own number
    EXPECT_TRUE(Calls().empty());

    tray.SetIconID(9);
    EXPECT_EQ(Calls(), (Log{"delete 2", "add 9"}));
    EXPECT_EQ(Last().hWnd, hWnd);
    Send(9, gui::WM_RBUTTONDBLCLK);
    Post(2, gui::WM_LBUTTONDBLCLK);  // the old number is nobody's now
    app.ProcessMessages();
    EXPECT_EQ(log, (Log{"dbl R"}));
}

TEST_F(TaskTrayTest, TheRecordCarriesTheWindowTheMessageTheFlagsAndACutTip) {
    TTaskTray& tray = ShownTray("");
    EXPECT_EQ(Last().cbSize, 88u);
    EXPECT_EQ(Last().uCallbackMessage, 1126u);
    EXPECT_EQ(app.FindControl(Last().hWnd), Unit().NotifyWindow);
    EXPECT_EQ(Unit().NotifyWindow->Parent(), form);
    EXPECT_EQ(Last().uFlags, 3u);
    tray.SetTipString("Sorimo");
    EXPECT_EQ(Calls(), (Log{"add 1", "modify 1"}));
    EXPECT_EQ(Last().uFlags, 7u);
    tray.SetTipString("Sorimo");
    EXPECT_TRUE(Calls().empty());

    tray.SetTipString(std::string(60, 'a') + "あ");  // exactly 63 bytes
    EXPECT_EQ(Last().szTip, tray.TipString());
    tray.SetTipString(std::string(62, 'a') + "あ");  // "あ" would cross byte 63
    EXPECT_EQ(Last().szTip, std::string(62, 'a'));
}

TEST_F(TaskTrayTest, RegisteringNeedsAnIconButARefusedAddOnlyLeavesItPending) {
    TTaskTray& tray = NewTray();
    tray.SetRegistered(false);  // never added: no call
    EXPECT_EQ(ErrorOf([&] { tray.SetRegistered(true); }), "アイコンが指定されていません");
    EXPECT_FALSE(tray.Registered());
    tray.SetIcon(&icon);
    EXPECT_TRUE(Calls().empty());

    platform.NotifyIconResult = false;  // no notification area
    EXPECT_EQ(ErrorOf([&] { tray.SetRegistered(true); }), "none");
    EXPECT_TRUE(tray.Registered());
    EXPECT_FALSE(tray.Added());
    tray.SetTipString("still none");  // tried again, refused again
    platform.NotifyIconResult = true;
    tray.SetTipString("again");
    EXPECT_EQ(Calls(), (Log{"add 1", "add 1", "add 1"}));
    EXPECT_TRUE(tray.Added());
    platform.NotifyIconResult = false;
    tray.SetTipString("forgotten");  // a refused modification: pending, the next try adds
    EXPECT_FALSE(tray.Added());
    platform.NotifyIconResult = true;
    tray.SetIcon(nullptr);  // no icon: it leaves the area
    EXPECT_EQ(Calls(), (Log{"modify 1", "add 1", "delete 1"}));
    EXPECT_FALSE(tray.Registered());
}

TEST_F(TaskTrayTest, PendingIconsAreAddedWhenAnAreaAppearsAndALostAreaMakesShownOnesPending) {
    platform.NotifyIconResult = false;
    TTaskTray& first = ShownTray();
    TTaskTray& second = ShownTray();
    int lost = 0;
    first.OnAreaLost = [&](TComponent* sender) { lost += sender == &first ? 1 : 100; };
    Calls();
    platform.NotifyIconResult = true;
    platform.SendTrayRecreated();
    app.ProcessMessages();
    EXPECT_EQ(Calls(), (Log{"add 1", "add 2"}));
    EXPECT_TRUE(first.Added());

    platform.SendTrayLost();
    app.ProcessMessages();
    EXPECT_FALSE(first.Added());
    EXPECT_FALSE(second.Added());
    EXPECT_EQ(lost, 1);
    EXPECT_TRUE(Calls().empty());  // the icons went with the area: nothing to delete
    platform.SendTrayLost();       // only a shown icon can be lost
    app.ProcessMessages();
    EXPECT_EQ(lost, 1);
    first.SetTipString("back");  // pending: an add, not a modification
    EXPECT_EQ(Calls(), (Log{"add 1"}));
}

TEST_F(TaskTrayTest, AReleaseArrivingWithItsPressIsDispatchedAfterThePressNotDropped) {
    // A synthetic click, or a panel's context-menu request, delivers the
    // press and the release together: the press's message processing used
    // to see the release while busy and drop it, so the click did nothing.
    Listen(ShownTray());
    platform.MoveTo(50, 60);
    for (std::intptr_t m : {gui::WM_RBUTTONDOWN, gui::WM_LBUTTONUP, gui::WM_RBUTTONUP, gui::WM_MOUSEMOVE})
        platform.SendTrayMessage(1, m);
    app.ProcessMessages();
    EXPECT_EQ(log, (Log{"down R 16 50,60", "up R 16 50,60"}));  // other buttons: dropped
}

TEST_F(TaskTrayTest, AStoredLayoutAddsTheIconThenModifiesItOnce) {
    form->LoadLayout([&] {
        TTaskTray& tray = NewTray();
        tray.SetIcon(&icon);
        tray.SetIconID(1);
        tray.SetRegistered(true);
    });
    EXPECT_EQ(Calls(), (Log{"add 1", "modify 1"}));
}

TEST_F(TaskTrayTest, EachMouseMessageRaisesItsEventAtTheCursor) {
    Listen(ShownTray());
    platform.MoveTo(700, 740);
    for (int m : {512, 513, 514, 515, 516, 517, 518, 519, 520, 521, 0x2A3}) Send(1, m);
    Post(7, gui::WM_LBUTTONDBLCLK);  // no such icon
    app.ProcessMessages();
    EXPECT_EQ(log, (Log{"move 0 700,740", "down L 8 700,740", "up L 8 700,740", "dbl L",
                        "down R 16 700,740", "up R 16 700,740", "dbl R", "down M 32 700,740",
                        "up M 32 700,740"}));
}

TEST_F(TaskTrayTest, APressBringsTheOwnerUpRaisesOnMouseDownThenShowsItsMenu) {
    gui::TForm* other = nullptr;
    app.CreateForm(other);
    form->Show();
    other->Show();
    TTaskTray& tray = ShownTray();
    Listen(tray);
    tray.SetPopupMenuL(&LoggedMenu("left menu"));
    tray.SetPopupMenuR(&LoggedMenu("right menu"));
    platform.MoveTo(640, 700);
    for (std::uint32_t press : {gui::WM_RBUTTONDOWN, gui::WM_MBUTTONDOWN, gui::WM_LBUTTONDOWN})
        Send(1, press);
    EXPECT_EQ(log, (Log{"down R 16 640,700", "right menu 640,700", "down M 32 640,700",
                        "down L 8 640,700", "left menu 640,700"}));
    EXPECT_EQ(platform.Windows().back()->Handle(), form->Handle());
}

TEST_F(TaskTrayTest, NotificationsArrivingDuringADispatchAreDropped) {
    TTaskTray& tray = ShownTray();
    Listen(tray);
    gui::TPopupMenu& menu = LoggedMenu("menu");
    menu.Items.push_back({"Show", [this](TComponent*) { log.push_back("chosen"); }});
    tray.SetPopupMenuR(&menu);
    platform.MoveTo(300, 300);
    platform.After(10, [&] { platform.SendTrayMessage(1, gui::WM_LBUTTONDBLCLK); });
    platform.After(20, [&] { platform.Click(gfx::mbLeft, 310, 310); });  // the item
    Send(1, gui::WM_RBUTTONDOWN);  // the menu's modal loop runs meanwhile
    tray.OnMouseUp = [&](TComponent*, TMouseButton, TShiftState, int, int) {
        platform.SendTrayMessage(1, gui::WM_LBUTTONDBLCLK);
        app.ProcessMessages();  // a nested loop sees it
    };
    Send(1, gui::WM_LBUTTONUP);
    EXPECT_EQ(log, (Log{"down R 16 300,300", "menu 300,300", "chosen"}));
    Send(1, gui::WM_LBUTTONDBLCLK);
    EXPECT_EQ(log.back(), "dbl L");
}

TEST_F(TaskTrayTest, AThrowingOrDestroyingHandlerLeavesTheDispatchUsable) {
    TTaskTray& tray = ShownTray();
    Listen(tray);
    tray.OnDblClick = [](TTaskTray*, TMouseButton) { throw gui::EInvalidOperation("壊れた"); };
    Send(1, gui::WM_LBUTTONDBLCLK);
    ASSERT_EQ(platform.ErrorBoxes.size(), 1u);
    EXPECT_EQ(platform.ErrorBoxes[0].Message, "壊れた");
    Send(1, gui::WM_MOUSEMOVE);
    EXPECT_EQ(log.size(), 1u);

    tray.SetPopupMenuR(&LoggedMenu("menu"));
    tray.OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) {
        form->DestroyOwned(tray);
    };
    Send(1, gui::WM_RBUTTONDOWN);
    EXPECT_EQ(log.size(), 1u);  // no menu from a destroyed tray
    EXPECT_EQ(Calls().back(), "delete 1");
}

TEST_F(TaskTrayTest, ADestroyedMenuClearsEveryReferenceToIt) {
    TTaskTray& tray = NewTray();
    gui::TPopupMenu& shared = LoggedMenu("shared");
    tray.SetPopupMenuL(&shared);
    tray.SetPopupMenuR(&shared);
    form->DestroyOwned(shared);
    EXPECT_EQ(tray.PopupMenuL(), nullptr);
    EXPECT_EQ(tray.PopupMenuR(), nullptr);
}

TEST_F(TaskTrayTest, AReCreatedNotificationAreaGetsEveryRegisteredIconAgain) {
    TTaskTray& first = ShownTray();
    NewTray();  // not registered: stays out
    Listen(ShownTray());
    Calls();
    platform.SendTrayRecreated();
    app.ProcessMessages();
    EXPECT_EQ(Calls(), (Log{"add 1", "add 3"}));
    first.SetTipString("changed");
    EXPECT_EQ(Calls(), (Log{"modify 1"}));
    Send(3, gui::WM_LBUTTONDBLCLK);
    EXPECT_EQ(log, (Log{"dbl L"}));
}

TEST_F(TaskTrayTest, TheNotificationWindowDiesWithItsOwnerAndIsMadeAgain) {
    gui::TForm* second = nullptr;
    app.CreateForm(second);
    ShownTray();  // the window is made under `form`
    TTaskTray& survivor = second->Own<TTaskTray>();
    survivor.SetIcon(&icon);
    survivor.SetRegistered(true);
    Listen(survivor);
    const std::uintptr_t oldWindow = Last().hWnd;
    app.DestroyOwned(*form);
    EXPECT_EQ(app.FindControl(oldWindow), nullptr);
    Send(2, gui::WM_LBUTTONDBLCLK);  // to the dead window: lost

    survivor.SetRegistered(false);
    survivor.SetRegistered(true);  // a new window, under `second`
    EXPECT_EQ(Unit().NotifyWindow->Parent(), second);
    Send(2, gui::WM_LBUTTONDBLCLK);
    EXPECT_EQ(log, (Log{"dbl L"}));
}

// A form whose stored layout registers its tray icon without an icon.
class TIconlessTrayForm : public gui::TForm {
public:
    explicit TIconlessTrayForm(gui::TApplication& app) : gui::TForm(app, platform::WindowKind::Main) {
        LoadLayout([&] { Own<TTaskTray>().SetRegistered(true); });
    }
};

TEST(TaskTrayStartUp, ALayoutRegisteringWithoutAnIconStillFailsTheFormsCreation) {
    // Only the missing notification area stopped being an error: a layout
    // without an icon is the program's own fault.
    platform::HeadlessPlatform platform;
    platform.NotifyIconResult = false;
    gui::TApplication app(platform);
    TIconlessTrayForm* form = nullptr;
    EXPECT_EQ(ErrorOf([&] { app.CreateForm(form); }), "アイコンが指定されていません");
    EXPECT_EQ(form, nullptr);
}

TEST(TaskTrayShutdown, ClosingTheProgramDeletesTheIconUnderItsWindowAndNumber) {
    platform::HeadlessPlatform platform;
    platform::NotifyIconData added;
    {
        gui::TApplication app(platform);
        gui::TForm* form = nullptr;
        app.CreateForm(form, platform::WindowKind::Main);
        TTaskTray& tray = form->Own<TTaskTray>();
        const gfx::TIcon icon = SquareIcon();
        tray.SetIcon(&icon);
        tray.SetRegistered(true);  // the window is made after the tray and dies first
        tray.SetIconID(4);
        added = platform.NotifyCalls.back().Data;
    }
    EXPECT_EQ(platform.NotifyCalls.back().Message, platform::NIM_DELETE);
    EXPECT_EQ(platform.NotifyCalls.back().Data.hWnd, added.hWnd);
    EXPECT_EQ(platform.NotifyCalls.back().Data.uID, 4u);
}

}  // namespace
}  // namespace widgets
