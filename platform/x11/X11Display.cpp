#include "platform/x11/X11Display.h"

#include "base/Utf8.h"

namespace platform::x11 {

Atoms::Atoms(Display* d) {
    auto atom = [d](const char* name) { return XInternAtom(d, name, False); };
    WM_PROTOCOLS = atom("WM_PROTOCOLS");
    WM_DELETE_WINDOW = atom("WM_DELETE_WINDOW");
    WM_TAKE_FOCUS = atom("WM_TAKE_FOCUS");
    UTF8_STRING = atom("UTF8_STRING");
    _NET_WM_NAME = atom("_NET_WM_NAME");
    _NET_WM_PID = atom("_NET_WM_PID");
    _MOTIF_WM_HINTS = atom("_MOTIF_WM_HINTS");
    _NET_WM_STATE = atom("_NET_WM_STATE");
    _NET_WM_STATE_SKIP_TASKBAR = atom("_NET_WM_STATE_SKIP_TASKBAR");
    _NET_WM_STATE_SKIP_PAGER = atom("_NET_WM_STATE_SKIP_PAGER");
    _NET_WM_STATE_ABOVE = atom("_NET_WM_STATE_ABOVE");
    _NET_WM_WINDOW_TYPE = atom("_NET_WM_WINDOW_TYPE");
    _NET_WM_WINDOW_TYPE_NORMAL = atom("_NET_WM_WINDOW_TYPE_NORMAL");
    _NET_WM_WINDOW_TYPE_DIALOG = atom("_NET_WM_WINDOW_TYPE_DIALOG");
    _NET_WM_WINDOW_TYPE_TOOLTIP = atom("_NET_WM_WINDOW_TYPE_TOOLTIP");
    _NET_WM_ICON = atom("_NET_WM_ICON");
    _NET_ACTIVE_WINDOW = atom("_NET_ACTIVE_WINDOW");
    MANAGER = atom("MANAGER");
    _XEMBED = atom("_XEMBED");
    _XEMBED_INFO = atom("_XEMBED_INFO");
    _NET_SYSTEM_TRAY_OPCODE = atom("_NET_SYSTEM_TRAY_OPCODE");
    _NET_SYSTEM_TRAY_VISUAL = atom("_NET_SYSTEM_TRAY_VISUAL");
    const std::string tray = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(d));
    _NET_SYSTEM_TRAY_S = atom(tray.c_str());
    _NET_WM_MOVERESIZE = atom("_NET_WM_MOVERESIZE");
    _NET_SUPPORTING_WM_CHECK = atom("_NET_SUPPORTING_WM_CHECK");
}

void SetTextProperty(Display* d, Window w, Atom property, Atom type, const std::string& text) {
    XChangeProperty(d, w, property, type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()), int(text.size()));
}

std::optional<std::string> Latin1(const std::string& utf8) {
    std::string bytes;
    for (char32_t c : base::DecodeUtf8(utf8)) {
        if (c > 0xFF || (c < 0x20 && c != U'\t' && c != U'\n') || (c >= 0x7F && c < 0xA0)) return std::nullopt;
        bytes += char(c);
    }
    return bytes;
}

}  // namespace platform::x11
