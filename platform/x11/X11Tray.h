// The XEmbed system tray: one icon window per icon number, docked into the
// tray that owns _NET_SYSTEM_TRAY_S<screen>. Clicks on the icon become the
// classic callback messages (512..520) for its record's window; the tip is
// a small window of our own. The tray manager is tracked: its MANAGER
// announcement and the end of its window are reported, so that icons dock
// into a new tray and a tray that went away is noticed.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/Platform.h"
#include "platform/common/DoubleClickTracker.h"
#include "platform/x11/X11Window.h"
#include "platform/xdg/tray/NotifyService.h"

namespace platform::x11 {

class TrayIcon;

class X11Tray final : public xdg::NotifyService {
public:
    // A mouse action on an icon, at its screen point (in screen pixels).
    using Notify = std::function<void(const NotifyIconData& record, std::intptr_t mouseMessage,
                                      TPoint screen)>;

    // `monitors`: the monitors' rectangles in screen pixels, for the tip.
    X11Tray(Context& context, gfx::TFontEngine& fonts, Notify notify,
            std::function<std::vector<TRect>()> monitors);
    ~X11Tray() override;
    X11Tray(const X11Tray&) = delete;
    X11Tray& operator=(const X11Tray&) = delete;

    // NotifyService: Show makes the icon window anew and asks the tray to
    // dock it (an icon made while no tray runs docks at the next Show).
    void Show(const NotifyIconData& record) override;
    void Update(const NotifyIconData& record) override;
    void Remove(std::uint32_t uID) override;

    // Whether a tray manager runs.
    bool ManagerPresent() const { return manager_ != None; }
    // Whether the tray shows what is docked into it: an icon window it
    // made viewable (the server exposed it) in a tray not known to show
    // nothing (a proxy handing the icons on to a panel of items, a panel
    // whose tray draws no icons).
    bool Draws() const;
    enum class ManagerChange { Unchanged, Appeared, Gone };
    // The root window's MANAGER announcement of a new tray, or the end of
    // the tray's window; Unchanged for any other event.
    ManagerChange TrackManager(const XEvent& e);

    // Events for our icon windows (true when the event was ours).
    bool HandleEvent(XEvent& e, std::int64_t nowMs);
    // When the tip is due, or -1.
    std::int64_t NextDeadline() const;
    void OnTime(std::int64_t nowMs);

private:
    // Reads the selection's owner and watches its window for its end.
    void WatchManager();
    TrayIcon* Find(Window w);

    Context& context_;
    gfx::TFontEngine& fonts_;
    Notify notify_;
    std::function<std::vector<TRect>()> monitors_;
    Window manager_ = None;
    bool showsNothing_ = false;  // the manager is known to show none of the icons
    std::map<std::uint32_t, std::unique_ptr<TrayIcon>> icons_;
    DoubleClickTracker doubleClicks_;
};

}  // namespace platform::x11
