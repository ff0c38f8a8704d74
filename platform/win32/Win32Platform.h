// The Win32 backend: one WS_POPUP window per form, owned by a hidden window
// of the backend so that none has a taskbar button; a message loop that
// waits with MsgWaitForMultipleObjects; the shell's services; the
// notification area through Shell_NotifyIconA.
#pragma once

#include <memory>

#include "platform/Platform.h"

namespace platform {

// Throws std::runtime_error when the backend's windows cannot be made.
std::unique_ptr<Platform> CreateWin32Platform();

}  // namespace platform
