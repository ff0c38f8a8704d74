// The notification area on X11: one XEmbed icon window per icon number,
// docked into the system tray that owns _NET_SYSTEM_TRAY_S<screen>. Clicks on
// the icon become the classic callback messages (512..520) for its record's
// window; the tip is a small window of our own.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "platform/Platform.h"
#include "platform/common/DoubleClickTracker.h"
#include "platform/x11/X11Window.h"

namespace platform::x11 {

class TrayIcon;

class X11Tray {
public:
    using Notify = std::function<void(const NotifyIconData& record, std::intptr_t mouseMessage)>;

    X11Tray(Context& context, gui::TFontEngine& fonts, Notify notify);
    ~X11Tray();
    X11Tray(const X11Tray&) = delete;
    X11Tray& operator=(const X11Tray&) = delete;

    // Shell_NotifyIcon: add fails when no tray owns the selection.
    bool Apply(std::uint32_t message, const NotifyIconData& data);

    // Events for our icon windows (true when the event was ours), and the
    // root window's MANAGER announcement of a new tray (true when one
    // appeared).
    bool HandleEvent(XEvent& e, std::int64_t nowMs);
    bool IsTrayAnnouncement(const XEvent& e) const;
    // When the tip is due, or -1.
    std::int64_t NextDeadline() const;
    void OnTime(std::int64_t nowMs);

private:
    Window TrayOwner() const;
    TrayIcon* Find(Window w);

    Context& context_;
    gui::TFontEngine& fonts_;
    Notify notify_;
    std::map<std::uint32_t, std::unique_ptr<TrayIcon>> icons_;
    DoubleClickTracker doubleClicks_;
};

}  // namespace platform::x11
