// The notification area of a Linux desktop: icons go to the
// StatusNotifierItem service where a watcher runs on the session bus, else
// to an XEmbed system tray, else nowhere (the add is refused and the icon
// stays pending in the GUI layer). When the services come and go the router
// moves the icons it holds from one to the other, tells the GUI layer when
// every icon was lost, and when an area appeared for icons it had refused.
//
// Until the session bus has answered whether a watcher runs (it is asked
// after the first window is shown), an add that a tray could show is held,
// not docked, so that a desktop with both (KDE Plasma's XEmbed proxy) never
// shows the icon twice; with no tray either, the add is refused.
#pragma once

#include <cstdint>
#include <map>
#include <utility>

#include "platform/Platform.h"
#include "platform/xdg/tray/NotifyService.h"

namespace platform::xdg {

enum class WatcherState { Unknown, Absent, Present };

class NotifyAreaRouter {
public:
    NotifyAreaRouter(NotifyService& items, NotifyService& tray) : items_(items), tray_(tray) {}

    // Shell_NotifyIcon: false when no service can show the icon (an add) or
    // the icon is not held (a modification).
    bool Apply(std::uint32_t message, const NotifyIconData& data);

    // What is available; the icons move at the next Reconcile.
    void SetWatcher(WatcherState state) { watcher_ = state; }
    void SetTray(bool present) { trayPresent_ = present; }
    // Whether the tray draws the icons docked into it: an icon window that
    // it shows on a monitor, in a tray that is no proxy into a panel that
    // is not there. Icons docked while it does not count as refused: the
    // window is not hidden to them, and they are shown once it does.
    void SetTrayDraws(bool draws) { trayDraws_ = draws; }
    // A new tray manager announced itself: icons in the tray dock again.
    void TrayReplaced();

    // Moves the held icons to the service they belong to now. Called once
    // per turn of the loop, so that a service that goes and comes back in
    // one turn moves nothing.
    void Reconcile();
    // The GUI layer's events, each true once after it happened.
    bool TakeLost() { return std::exchange(lost_, false); }
    bool TakeAppeared() { return std::exchange(appeared_, false); }

    // Which service shows an icon, for tests and diagnostics.
    enum class Shown { Nowhere, Items, Tray };
    Shown ShownBy(std::uint32_t uID) const;
    bool Holds(std::uint32_t uID) const { return icons_.count(uID) != 0; }

private:
    enum class Target { Refuse, Hold, Items, Tray };
    struct Icon {
        NotifyIconData Record;
        Shown By = Shown::Nowhere;
    };
    Target Best() const;
    NotifyService* ServiceOf(Shown by);
    void MoveTo(Icon& icon, Shown target);

    NotifyService& items_;
    NotifyService& tray_;
    WatcherState watcher_ = WatcherState::Unknown;
    bool trayPresent_ = false;
    bool trayDraws_ = false;
    bool shown_ = false;  // the icons counted as shown at the last turn
    std::map<std::uint32_t, Icon> icons_;
    bool refused_ = false;  // the GUI layer holds icons we did not take
    bool lost_ = false;
    bool appeared_ = false;
};

}  // namespace platform::xdg
