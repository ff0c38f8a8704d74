// The X connection and the atoms the backend uses (internal to the backend).
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <optional>
#include <string>

namespace platform::x11 {

struct DisplayCloser {
    void operator()(Display* d) const { XCloseDisplay(d); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct Atoms {
    explicit Atoms(Display* d);
    Atom WM_PROTOCOLS, WM_DELETE_WINDOW, WM_TAKE_FOCUS, UTF8_STRING, _NET_WM_NAME, _NET_WM_PID, _MOTIF_WM_HINTS,
        _NET_WM_STATE, _NET_WM_STATE_SKIP_TASKBAR, _NET_WM_STATE_SKIP_PAGER, _NET_WM_STATE_ABOVE,
        _NET_WM_WINDOW_TYPE, _NET_WM_WINDOW_TYPE_NORMAL, _NET_WM_WINDOW_TYPE_DIALOG,
        _NET_WM_WINDOW_TYPE_TOOLTIP, _NET_WM_ICON, _NET_ACTIVE_WINDOW, MANAGER, _XEMBED,
        _XEMBED_INFO, _NET_SYSTEM_TRAY_OPCODE, _NET_SYSTEM_TRAY_VISUAL, _NET_SYSTEM_TRAY_S,
        _NET_WM_MOVERESIZE, _NET_SUPPORTING_WM_CHECK;
};

// The text as Latin-1 bytes when every character has one (what the STRING
// type of WM_NAME holds: printable characters, tab and newline); none
// otherwise.
std::optional<std::string> Latin1(const std::string& utf8);

// Sets a UTF-8 text property (and WM_NAME for the window name).
void SetTextProperty(Display* d, Window w, Atom property, Atom type, const std::string& text);

}  // namespace platform::x11
