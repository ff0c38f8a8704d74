#include "widgets/TaskTray.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <exception>
#include <memory>
#include <utility>

#include "gui/Application.h"
#include "gui/Exceptions.h"
#include "gui/Form.h"
#include "gui/FlagScope.h"
#include "i18n/Messages.h"

namespace widgets {

namespace {

// The tip field holds 63 bytes and a terminating zero. A longer tip is cut
// before the character that would cross the limit, so the area never gets
// half a UTF-8 sequence.
constexpr std::size_t kTipBytes = 63;

std::string TipField(const std::string& tip) {
    if (tip.size() <= kTipBytes) return tip;
    std::size_t cut = kTipBytes;
    while (cut > 0 && (static_cast<unsigned char>(tip[cut]) & 0xC0) == 0x80) --cut;
    return tip.substr(0, cut);
}

TTrayUnit& UnitOf(gui::TComponent* owner) {
    gui::TApplication* app = owner ? owner->Application() : nullptr;
    assert(app && "a tray icon needs an owner inside an application");
    return TTrayUnit::Start(*app);
}

int Following(int id) { return id == INT_MAX ? 1 : id + 1; }

}  // namespace

// ------------------------------------------------------------ TTaskTray

TTaskTray::TTaskTray(gui::TComponent* owner)
    : gui::TComponent(owner), unit_(UnitOf(owner)), iconID_(unit_.NextIconID()) {
    unit_.TrayIconList.push_back(this);
}

TTaskTray::~TTaskTray() {
    TTaskTray::RemoveIcon();
    auto& list = unit_.TrayIconList;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TTaskTray::SetTipString(const std::string& tip) {
    if (tip == tipString_) return;
    tipString_ = tip;
    UpdateIcon();
}

void TTaskTray::SetIcon(const gui::TIcon* icon) {
    if (icon == &icon_) return;
    if (icon && !icon->Empty()) {
        icon_ = *icon;
        IconChanged();
        UpdateIcon();
        return;
    }
    icon_.Clear();
    IconChanged();
    RemoveIcon();
}

void TTaskTray::IconChanged() { UpdateIcon(); }

void TTaskTray::SetIconID(int value) {
    if (value < 1) throw gui::EInvalidOperation(i18n::Tr("The value must be 1 or more"));
    if (value == iconID_) return;
    if (unit_.Find(std::uintptr_t(value)))
        throw gui::EInvalidOperation(i18n::Tr("The same icon ID is already in use"));
    if (registered_) {
        RemoveIcon();  // deletes under the old number
        registered_ = true;
    }
    iconID_ = value;
    UpdateIcon();
}

void TTaskTray::SetRegistered(bool value) {
    if (value == registered_) return;
    if (!value) {
        RemoveIcon();
        return;
    }
    if (icon_.Empty()) throw gui::EInvalidOperation(i18n::Tr("No icon has been set"));
    registered_ = true;
    UpdateIcon();
}

void TTaskTray::SetMenu(gui::TPopupMenu*& slot, gui::TPopupMenu* menu) {
    if (slot == menu) return;
    gui::TPopupMenu* old = std::exchange(slot, menu);
    if (old && old != popupMenuL_ && old != popupMenuR_) RemoveFreeNotification(old);
    if (menu) FreeNotification(menu);
}

void TTaskTray::Notification(gui::TComponent* component, gui::TOperation operation) {
    gui::TComponent::Notification(component, operation);
    if (operation != gui::opRemove) return;
    // Addresses only: the component is being destroyed and may be half gone.
    if (component == popupMenuL_) popupMenuL_ = nullptr;
    if (component == popupMenuR_) popupMenuR_ = nullptr;
}

void TTaskTray::Loaded() {
    UpdateIcon();
    gui::TComponent::Loaded();
}

// ------------------------------------------------------------ the record

TNotifyWindow& TTaskTray::NeedNotifyWindow() {
    if (unit_.NotifyWindow) return *unit_.NotifyWindow;
    auto* parent = dynamic_cast<gui::TWinControl*>(Owner());
    assert(parent && "a tray icon's owner must be a window");
    TNotifyWindow& window = Owner()->Own<TNotifyWindow>(unit_);
    if (parent) {
        parent->Handle();  // the parent's window exists before its child's
        window.SetParent(parent);
    }
    return window;
}

void TTaskTray::UpdateIcon() {
    if (!registered_) return;
    TNotifyWindow& window = NeedNotifyWindow();
    if (!added_) {
        iconData_.cbSize = kNotifyIconDataSize;
        iconData_.hWnd = window.Handle();
        iconData_.uCallbackMessage = WM_TRAYNOTIFY;
    }
    iconData_.uID = std::uint32_t(iconID_);
    iconData_.uFlags = gui::NIF_MESSAGE | gui::NIF_ICON |
                       (tipString_.empty() ? 0 : gui::NIF_TIP);
    iconData_.Icon = icon_;
    iconData_.szTip = TipField(tipString_);
    // A refusal leaves the icon pending (also a refused modification: the
    // area no longer knows the icon, so the next try is an add).
    added_ = gui::ShellNotifyIcon(unit_.App(), added_ ? gui::NIM_MODIFY : gui::NIM_ADD, iconData_);
}

void TTaskTray::RemoveIcon() {
    if (added_) gui::ShellNotifyIcon(unit_.App(), gui::NIM_DELETE, iconData_);  // a refusal changes nothing
    added_ = false;
    registered_ = false;
}

void TTaskTray::AddAgain() {
    if (!registered_) return;
    added_ = false;
    UpdateIcon();
}

void TTaskTray::AreaLost() {
    if (!added_) return;
    added_ = false;
    if (OnAreaLost) OnAreaLost(this);
}

// ------------------------------------------------------------ events

void TTaskTray::DblClick(gui::TMouseButton Button) {
    if (OnDblClick) OnDblClick(this, Button);
}

void TTaskTray::MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    const std::weak_ptr<void> alive = AliveToken();
    if (auto* form = dynamic_cast<gui::TForm*>(Owner())) {
        form->HandleNeeded();
        form->Native()->BringToFront();
        form->App().ProcessMessages();
        if (alive.expired()) return;
    }
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
    if (alive.expired()) return;
    gui::TPopupMenu* menu = Button == gui::mbLeft    ? popupMenuL_
                            : Button == gui::mbRight ? popupMenuR_
                                                     : nullptr;
    if (menu) menu->Popup(X, Y);
}

void TTaskTray::MouseMove(int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, 0, X, Y);
}

void TTaskTray::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

// ------------------------------------------------------------ TNotifyWindow

TNotifyWindow::TNotifyWindow(gui::TComponent* owner, TTrayUnit& unit)
    : gui::TWinControl(owner), unit_(unit) {
    unit_.NotifyWindow = this;
}

TNotifyWindow::~TNotifyWindow() {
    if (unit_.NotifyWindow == this) unit_.NotifyWindow = nullptr;
}

void TNotifyWindow::WndProc(gui::TMsg& msg) {
    if (msg.message != WM_TRAYNOTIFY) {
        gui::TWinControl::WndProc(msg);
        return;
    }
    // The message carries the cursor's screen point at the action.
    Dispatch(unit_, msg.wParam, msg.lParam, msg.pt);
}

namespace {
bool IsPress(std::intptr_t m) {
    return m == gui::WM_LBUTTONDOWN || m == gui::WM_RBUTTONDOWN || m == gui::WM_MBUTTONDOWN;
}

// Clears the unit's record of the press being dispatched, also when a
// handler throws (a held release is then dropped with it).
class TPressScope {
public:
    TPressScope(TTrayUnit& unit, const TTrayUnit::Notification& n) : unit_(unit) {
        if (IsPress(n.Message)) unit_.Pressing = n;
    }
    ~TPressScope() {
        unit_.Pressing.reset();
        unit_.HeldRelease.reset();
    }
    TPressScope(const TPressScope&) = delete;
    TPressScope& operator=(const TPressScope&) = delete;

private:
    TTrayUnit& unit_;
};
}  // namespace

void TNotifyWindow::Dispatch(TTrayUnit& unit, std::uintptr_t iconID, std::intptr_t mouseMessage,
                             gui::TPoint cursor) {
    TTaskTray* tray = unit.Find(iconID);
    if (!tray) return;
    const TTrayUnit::Notification notification{iconID, mouseMessage, cursor};
    if (unit.NotifyBusy) {
        // Dropped, not queued; but a press's own release is kept: the press
        // runs the pending messages (bringing its owner up), and a click
        // whose release was already queued would otherwise lose it.
        if (unit.Pressing && unit.Pressing->IconID == iconID &&
            unit.Pressing->Message + 1 == mouseMessage)
            unit.HeldRelease = notification;
        return;
    }
    std::optional<TTrayUnit::Notification> release;
    {
        gui::TFlagScope busy(unit.NotifyBusy);
        TPressScope press(unit, notification);
        Route(*tray, mouseMessage, cursor);
        release = unit.HeldRelease;
    }
    if (release) Dispatch(unit, release->IconID, release->Message, release->Cursor);
}

void TNotifyWindow::Route(TTaskTray& tray, std::intptr_t mouseMessage, gui::TPoint p) {
    using namespace gui;
    switch (mouseMessage) {
        case WM_MOUSEMOVE: return tray.MouseMove(p.X, p.Y);
        case WM_LBUTTONDOWN: return tray.MouseDown(mbLeft, ssLeft, p.X, p.Y);
        case WM_LBUTTONUP: return tray.MouseUp(mbLeft, ssLeft, p.X, p.Y);
        case WM_LBUTTONDBLCLK: return tray.DblClick(mbLeft);
        case WM_RBUTTONDOWN: return tray.MouseDown(mbRight, ssRight, p.X, p.Y);
        case WM_RBUTTONUP: return tray.MouseUp(mbRight, ssRight, p.X, p.Y);
        case WM_RBUTTONDBLCLK: return tray.DblClick(mbRight);
        case WM_MBUTTONDOWN: return tray.MouseDown(mbMiddle, ssMiddle, p.X, p.Y);
        case WM_MBUTTONUP: return tray.MouseUp(mbMiddle, ssMiddle, p.X, p.Y);
        default: return;  // a middle double click and anything else
    }
}

// ------------------------------------------------------------ TTrayUnit

TTrayUnit::TTrayUnit(gui::TApplication& app) : app_(app) {
    // Chain any hooks installed before ours. The hooks never run after the
    // unit is freed: the application stops listening to the platform first.
    app_.OnTrayRecreated = [this, previous = std::move(app_.OnTrayRecreated)] {
        AddAllAgain();
        if (previous) previous();
    };
    app_.OnTrayLost = [this, previous = std::move(app_.OnTrayLost)] {
        LoseAll();
        if (previous) previous();
    };
}

TTrayUnit& TTrayUnit::Start(gui::TApplication& app) { return app.UnitState<TTrayUnit>(); }

TTaskTray* TTrayUnit::Find(std::uintptr_t iconID) const {
    for (TTaskTray* tray : TrayIconList)
        if (std::uintptr_t(tray->IconID()) == iconID) return tray;
    return nullptr;
}

// Every shown icon became pending; each tells its handler, which may show
// a window that was hidden to the tray, or destroy tray icons.
void TTrayUnit::LoseAll() { ForEachLiveTray(&TTaskTray::AreaLost); }

int TTrayUnit::NextIconID() const {
    if (TrayIconList.empty()) return 1;
    int id = Following(TrayIconList.back()->IconID());
    while (Find(std::uintptr_t(id))) id = Following(id);
    return id;
}

// A re-created notification area has forgotten every icon: without adding
// them again, a window hidden to the tray could never be brought back.
void TTrayUnit::AddAllAgain() { ForEachLiveTray(&TTaskTray::AddAgain); }

// Runs `step` on every tray icon that still lives when its turn comes: a
// step, or an error box's loop, may destroy icons. An error is shown and
// the others still get their step.
void TTrayUnit::ForEachLiveTray(void (TTaskTray::*step)()) {
    std::vector<std::pair<TTaskTray*, std::weak_ptr<void>>> trays;
    for (TTaskTray* tray : TrayIconList) trays.emplace_back(tray, tray->AliveToken());
    for (auto& [tray, alive] : trays) {
        if (!gui::Alive(alive)) continue;
        try {
            (tray->*step)();
        } catch (const std::exception& e) {
            app_.ShowException(e.what());
        }
    }
}

}  // namespace widgets
