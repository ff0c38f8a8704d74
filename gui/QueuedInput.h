// What the platform hands the GUI layer between two turns of the loop, kept
// as typed values until the loop dispatches them: mouse input, keys and
// close requests for a form, files dragged over a form, notices of the
// notification area, changes of the monitors and requests of later starts
// of the program. A message record (TMsg) is made only for the tray
// notices, whose receiver dispatches by number.
#pragma once

#include <cstdint>
#include <variant>

#include "gui/Messages.h"
#include "platform/Platform.h"

namespace gui {

struct TMouseNotice {
    HWND Window = 0;
    platform::MouseInput Input;
};

// A key pressed in a form that has the keyboard focus.
struct TKeyNotice {
    HWND Window = 0;
    platform::KeyInput Input;
};

struct TCloseNotice {
    HWND Window = 0;
};

// The notification area's callback message for an icon, sent to the
// window of its record (wParam = icon number, lParam = mouse message).
struct TTrayNotice {
    HWND Window = 0;
    std::uint32_t Message = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    TPoint Screen;  // the cursor's screen point at the action
};

// Files dragged from another program over a form, away from it or dropped
// on it; the input carries the reply to the dragging program.
struct TDragNotice {
    HWND Window = 0;
    platform::DragInput Input;
};

// The monitor layout changed.
struct TMonitorsNotice {};

// A later start of the program handed this request over and ended.
struct TStartNotice {
    platform::StartRequest Request = platform::StartRequest::Activate;
};

using TQueuedInput = std::variant<TMouseNotice, TKeyNotice, TCloseNotice, TTrayNotice, TDragNotice,
                                  TMonitorsNotice, TStartNotice>;

}  // namespace gui
