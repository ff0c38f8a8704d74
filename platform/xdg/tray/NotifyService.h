// One way of showing notification-area icons on a Linux desktop (a
// StatusNotifierItem on the session bus, an XEmbed icon in a system tray),
// as the notification area's router uses it.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Platform.h"

namespace platform::xdg {

// A mouse action on an icon as the record's callback: the mouse message and
// the screen point (in screen pixels) of the action.
using TrayNotify = std::function<void(const NotifyIconData& record, std::intptr_t mouseMessage,
                                      TPoint screen)>;

class NotifyService {
public:
    virtual ~NotifyService() = default;
    // Shows the icon afresh (a record the service already shows is put up
    // again: an XEmbed icon docks anew).
    virtual void Show(const NotifyIconData& record) = 0;
    // The icon or tip of a shown record changed.
    virtual void Update(const NotifyIconData& record) = 0;
    virtual void Remove(std::uint32_t uID) = 0;
};

}  // namespace platform::xdg
