// The notification area: the GUI layer's icon records handed to
// Shell_NotifyIconA. The records name windows of the GUI layer, which the
// shell cannot post to; the shell gets the backend's hidden window instead,
// under an icon number of its own per (window, number) pair, and each
// callback message is routed back to the record's window and number.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Platform.h"
#include "platform/win32/Win32Handles.h"

namespace platform::win32 {

class Win32Tray {
public:
    explicit Win32Tray(HWND window) : window_(window) {}

    // Shell_NotifyIconA with the record's fields; true when the shell agreed.
    bool Apply(std::uint32_t message, const NotifyIconData& data);

    // A message to the hidden window: when it is an icon's callback, it goes
    // to `app` as the record's callback and true is returned.
    bool Route(UINT message, WPARAM wParam, LPARAM lParam, AppListener* app) const;

private:
    struct Entry {
        std::uintptr_t Owner;       // the record's hWnd
        std::uint32_t Id;           // the record's uID
        std::uint32_t Callback;     // the record's uCallbackMessage
        UINT NativeId;              // the uID the shell knows
    };
    Entry& EntryFor(const NotifyIconData& data);

    HWND window_;
    std::vector<Entry> entries_;
};

}  // namespace platform::win32
