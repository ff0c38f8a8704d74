// TaskTray: an icon with a tip in the notification area whose mouse actions
// become component events.
//
// Any number of TTaskTray instances may live at once, each under its own icon
// number. They share one hidden TNotifyWindow: the notification area sends
// its callback message (WM_TRAYNOTIFY, wParam = icon number, lParam = mouse
// message) to that window, which hands it to the instance with the number.
// What the instances share lives in TTrayUnit, a state object the
// application owns (there is no global).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "gui/Component.h"
#include "gui/Control.h"
#include "gfx/Graphics.h"
#include "gui/Messages.h"
#include "gui/NotifyIcon.h"
#include "gui/PopupMenu.h"
#include "gui/WinControl.h"

namespace gui {
class TApplication;
}

namespace widgets {

class TNotifyWindow;
class TTaskTray;
class TTrayUnit;

// The callback message the notification area sends for an icon.
constexpr std::uint32_t WM_TRAYNOTIFY = gui::WM_USER + 102;  // 1126
// The size of the classic ANSI record, handed over as cbSize.
constexpr std::uint32_t kNotifyIconDataSize = 88;

using TButtonDblClick = std::function<void(TTaskTray* Seft, gui::TMouseButton Button)>;

// The tray icon component. Its owner must be a window (a form): the first
// instance that adds its icon makes the shared notification window a child
// of its owner, and that window dies with the owner's controls.
//
// States: unregistered (Registered and Added false), pending (Registered but
// not added: there is no notification area, it refused the add, or it went
// away; the next UpdateIcon tries again, and every pending icon is added
// when an area appears) and shown (both true; changes go out as
// modifications). A program runs the same in every state: only its icon is
// missing while pending.
class TTaskTray : public gui::TComponent {
public:
    // Numbers itself: 1 when no other tray icon lives, else one more than
    // the most recently created live one, stepping past numbers in use.
    explicit TTaskTray(gui::TComponent* owner);
    // Deletes the icon from the notification area (same hWnd and uID).
    ~TTaskTray() override;

    // The tip; an unchanged text issues no call. At most 63 bytes reach the
    // notification area, cut at a UTF-8 character boundary.
    const std::string& TipString() const { return tipString_; }
    void SetTipString(const std::string& tip);

    // The component's own icon. Writing copies: the own icon itself changes
    // nothing; another icon is copied and shown; none (or an empty icon)
    // empties the own icon and removes it from the notification area.
    const gui::TIcon& Icon() const { return icon_; }
    void SetIcon(const gui::TIcon* icon);

    // At least 1 and unique among live instances (EInvalidOperation
    // otherwise). While registered, a new number deletes the icon under the
    // old one and adds it under the new one.
    int IconID() const { return iconID_; }
    void SetIconID(int value);

    // Whether the icon is wanted in the notification area. Setting it true
    // needs a non-empty icon (EInvalidOperation otherwise).
    bool Registered() const { return registered_; }
    void SetRegistered(bool value);
    // Whether the notification area has accepted the add: the icon is shown.
    bool Added() const { return added_; }

    // Menus shown on a left or right press, not owned; a menu being
    // destroyed clears every reference to it.
    gui::TPopupMenu* PopupMenuL() const { return popupMenuL_; }
    void SetPopupMenuL(gui::TPopupMenu* menu) { SetMenu(popupMenuL_, menu); }
    gui::TPopupMenu* PopupMenuR() const { return popupMenuR_; }
    void SetPopupMenuR(gui::TPopupMenu* menu) { SetMenu(popupMenuR_, menu); }

    // The record last handed to the notification area.
    const gui::TNotifyIconData& IconData() const { return iconData_; }

    // X and Y are screen coordinates of the cursor; Shift holds only the
    // flag of the button concerned.
    TButtonDblClick OnDblClick;
    gui::TMouseMoveEvent OnMouseMove;
    gui::TMouseEvent OnMouseDown;
    gui::TMouseEvent OnMouseUp;
    // The notification area went away with the shown icon; the icon is
    // pending now and comes back when an area appears.
    gui::TNotifyEvent OnAreaLost;

    // Deletes the icon if it was added; Registered ends false.
    virtual void RemoveIcon();
    // Adds (or modifies) the icon when registered. When the notification
    // area refuses, the icon is pending (Added false) and no error is raised:
    // a missing area is a state of the desktop, not a fault of the program.
    virtual void UpdateIcon();

protected:
    virtual void DblClick(gui::TMouseButton Button);
    // Brings the owner form to the front, raises OnMouseDown, then shows the
    // button's popup menu at (X, Y).
    virtual void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y);
    virtual void MouseMove(int X, int Y);
    virtual void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y);

    // Runs whenever the own icon's image changes.
    void IconChanged();

    void Notification(gui::TComponent* component, gui::TOperation operation) override;
    void Loaded() override;

private:
    friend class TNotifyWindow;  // dispatches notifications to us
    friend class TTrayUnit;      // adds us again after the area is re-created

    void AddAgain();
    void AreaLost();
    TNotifyWindow& NeedNotifyWindow();
    void SetMenu(gui::TPopupMenu*& slot, gui::TPopupMenu* menu);

    TTrayUnit& unit_;
    std::string tipString_;
    gui::TIcon icon_;
    int iconID_;
    gui::TPopupMenu* popupMenuL_ = nullptr;
    gui::TPopupMenu* popupMenuR_ = nullptr;
    gui::TNotifyIconData iconData_;
    bool registered_ = false;
    bool added_ = false;
};

// The hidden window that receives the notification area's callbacks. It has
// no size and paints nothing; it handles WM_TRAYNOTIFY only.
class TNotifyWindow : public gui::TWinControl {
public:
    TNotifyWindow(gui::TComponent* owner, TTrayUnit& unit);
    ~TNotifyWindow() override;

    void WndProc(gui::TMsg& msg) override;

private:
    // Runs in the unit, not the window: a handler may destroy the window.
    static void Dispatch(TTrayUnit& unit, std::uintptr_t iconID, std::intptr_t mouseMessage,
                         gui::TPoint cursor);
    static void Route(TTaskTray& tray, std::intptr_t mouseMessage, gui::TPoint cursor);

    TTrayUnit& unit_;
};

// What the tray icons of one application share. The application owns it
// (gui::TApplication::UnitState) and frees it after every component.
class TTrayUnit {
public:
    explicit TTrayUnit(gui::TApplication& app);
    TTrayUnit(const TTrayUnit&) = delete;
    TTrayUnit& operator=(const TTrayUnit&) = delete;

    // Starts the unit: its state exists from here until the application is
    // destroyed. The first tray icon starts it too, if nobody did before.
    static TTrayUnit& Start(gui::TApplication& app);

    gui::TApplication& App() const { return app_; }

    // The live instances in creation order.
    std::vector<TTaskTray*> TrayIconList;
    // The shared callback window; made on first need, not owned here.
    TNotifyWindow* NotifyWindow = nullptr;
    // True while a notification is being dispatched: others are dropped,
    // except the release of the press being dispatched, which is kept and
    // dispatched after it (a click whose press and release come together).
    bool NotifyBusy = false;
    struct Notification {
        std::uintptr_t IconID;
        std::intptr_t Message;
        gui::TPoint Cursor;
    };
    std::optional<Notification> Pressing;
    std::optional<Notification> HeldRelease;

    // The live instance with the number, or null.
    TTaskTray* Find(std::uintptr_t iconID) const;
    // The number for an instance being created.
    int NextIconID() const;

private:
    void AddAllAgain();
    void LoseAll();
    void ForEachLiveTray(void (TTaskTray::*step)());

    gui::TApplication& app_;
};

}  // namespace widgets
