// Start reading tray/ here. The folder is the notification area of Linux
// desktops over D-Bus: the StatusNotifierItem each icon becomes
// (StatusNotifierItem, StatusIconPixmaps, PacedReplies), the GLib main
// context the backend's poll drives (MainContextPoll), and the choice
// between an item and the backend's own XEmbed tray (NotifyAreaRouter).
//
// The StatusNotifierItem side of the notification area: a private
// connection to the session bus, a watch on the name
// org.kde.StatusNotifierWatcher, and one exported item per icon, registered
// with every watcher that appears.
//
// GIO is loaded and the bus connected only when Start is called (after the
// first window is shown), and the connection is made asynchronously: start-up
// never waits for the bus. Everything GIO calls back runs inside the
// backend's poll loop (Prepare, Dispatch); GDBus's own I/O thread sleeps
// while the bus is quiet.
#pragma once

#include <poll.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/xdg/GioLibrary.h"
#include "platform/xdg/tray/NotifyAreaRouter.h"
#include "platform/xdg/tray/NotifyService.h"

namespace platform::xdg {

class StatusNotifierArea final : public NotifyService {
public:
    // A panel's request as the record's callback, with the point the panel gave.
    using Notify = TrayNotify;

    StatusNotifierArea(GioLibrary& gio, Notify notify);
    ~StatusNotifierArea() override;
    StatusNotifierArea(const StatusNotifierArea&) = delete;
    StatusNotifierArea& operator=(const StatusNotifierArea&) = delete;

    // The session bus's address: $DBUS_SESSION_BUS_ADDRESS, else the socket
    // $XDG_RUNTIME_DIR/bus when it exists; none otherwise (no bus is started
    // for us).
    static std::optional<std::string> SessionBusAddress();

    // Unknown while the bus has not answered (also before Start when there
    // is a bus), Absent without a bus, GIO or watcher.
    WatcherState State() const;
    // Connects, once. Without a bus or GIO the state becomes Absent.
    void Start();

    // NotifyService: items exist only while connected.
    void Show(const NotifyIconData& record) override;
    void Update(const NotifyIconData& record) override;
    void Remove(std::uint32_t uID) override;

    // The poll loop's share (nothing before Start).
    void Prepare(std::vector<pollfd>& fds, int& timeoutMs);
    void Dispatch(const std::vector<pollfd>& fds);
    void DispatchReady();

private:
    struct Bus;  // the GIO side: connection, watch, items
    GioLibrary& library_;
    Notify notify_;
    std::optional<std::string> address_;
    WatcherState absentOrUnknown_;
    bool started_ = false;
    std::unique_ptr<Bus> bus_;
};

}  // namespace platform::xdg
