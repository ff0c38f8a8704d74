// The notification area as the GUI layer offers it to components: the
// record of an icon and the Shell_NotifyIcon call, reached through the
// application's platform.
#pragma once

#include <cstdint>

#include "gfx/Types.h"
#include "platform/Platform.h"
#include "gui/DesignNames.h"

namespace gui {

class TApplication;

using TNotifyIconData = platform::NotifyIconData;

inline constexpr std::uint32_t NIM_ADD = platform::NIM_ADD;
inline constexpr std::uint32_t NIM_MODIFY = platform::NIM_MODIFY;
inline constexpr std::uint32_t NIM_DELETE = platform::NIM_DELETE;
inline constexpr std::uint32_t NIF_MESSAGE = platform::NIF_MESSAGE;
inline constexpr std::uint32_t NIF_ICON = platform::NIF_ICON;
inline constexpr std::uint32_t NIF_TIP = platform::NIF_TIP;

// Shell_NotifyIcon: true when the notification area took the call.
bool ShellNotifyIcon(TApplication& app, std::uint32_t message, const TNotifyIconData& data);

}  // namespace gui
