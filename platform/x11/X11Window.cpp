#include "platform/x11/X11Window.h"

#include "platform/x11/X11Input.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace platform::x11 {

namespace {
constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                            PointerMotionMask | EnterWindowMask | LeaveWindowMask |
                            StructureNotifyMask;

// Dialogs hear keys too: their boxes close on Return, Space and Escape.
long EventMaskOf(WindowKind kind) { return kind == WindowKind::Dialog ? kEventMask | KeyPressMask : kEventMask; }

unsigned Positive(int v) { return unsigned(std::max(v, 1)); }

}  // namespace

std::optional<std::string> WindowManagerName(const Context& context) {
    Display* d = context.display;
    // The property's items when it has the type and format asked for.
    auto read = [d](Window w, Atom name, Atom type, int format) -> std::optional<std::string> {
        Atom actual = None;
        int actualFormat = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(d, w, name, 0, 256, False, type, &actual, &actualFormat, &count, &after,
                               &data) != Success || !data)
            return std::nullopt;
        std::optional<std::string> items;
        // Format 32 items are longs in Xlib's memory.
        const std::size_t size = format == 32 ? sizeof(long) : 1;
        if (actual == type && actualFormat == format)
            items = std::string(reinterpret_cast<const char*>(data), count * size);
        XFree(data);
        return items;
    };
    const std::optional<std::string> check = read(context.root, context.atoms->_NET_SUPPORTING_WM_CHECK, XA_WINDOW, 32);
    if (!check || check->size() != sizeof(long)) return std::nullopt;
    unsigned long window = 0;
    std::memcpy(&window, check->data(), sizeof window);
    return read(Window(window), context.atoms->_NET_WM_NAME, context.atoms->UTF8_STRING, 8);
}

int ScreenScale(Display* display) {
    if (const char* env = std::getenv("GDK_SCALE"); env && *env) {
        const int scale = std::atoi(env);
        if (scale >= 1 && scale <= 8) return scale;
    }
    if (const char* dpi = XGetDefault(display, "Xft", "dpi"); dpi && *dpi) {
        const int scale = int(std::lround(std::atof(dpi) / 96.0));
        if (scale >= 1 && scale <= 8) return scale;
    }
    return 1;
}

// The window's rectangle in screen pixels. The protocol carries positions
// as 16-bit numbers: one beyond them is pinned to their end (off every
// screen either way), not wrapped round onto the screen.
TRect X11Window::Physical() const {
    const TRect r = gfx::ScaleRect(bounds_, context_.scale);
    auto onWire = [](int v) { return std::clamp(v, -32768, 32767); };
    return gfx::Bounds(onWire(r.Left), onWire(r.Top), r.Width(), r.Height());
}

X11Window::X11Window(Context& context, const WindowSpec& spec, WindowListener& listener)
    : context_(context), listener_(listener), kind_(spec.Kind), bounds_(spec.Bounds),
      parent_(context.root) {
    Display* d = context_.display;
    XSetWindowAttributes attributes{};
    attributes.event_mask = EventMaskOf(kind_);
    attributes.override_redirect = kind_ == WindowKind::Tooltip ? True : False;
    attributes.background_pixmap = None;  // no flicker: Expose presents the retained picture
    attributes.border_pixel = 0;
    attributes.colormap = DefaultColormap(d, context_.screen);
    const TRect physical = Physical();
    window_ = WindowOwner(d, XCreateWindow(d, context_.root, physical.Left, physical.Top,
                                           Positive(physical.Width()), Positive(physical.Height()),
                                           0, context_.depth, InputOutput, context_.visual,
                                           CWEventMask | CWOverrideRedirect | CWBackPixmap |
                                               CWBorderPixel | CWColormap,
                                           &attributes));
    gc_ = GcOwner(d, XCreateGC(d, window_.Get(), 0, nullptr));
    // Dialogs take part in focus hand-over (the locally active model).
    Atom protocols[] = {context_.atoms->WM_DELETE_WINDOW, context_.atoms->WM_TAKE_FOCUS};
    XSetWMProtocols(d, window_.Get(), protocols, kind_ == WindowKind::Dialog ? 2 : 1);
    const long pid = long(getpid());
    XChangeProperty(d, window_.Get(), context_.atoms->_NET_WM_PID, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    XClassHint classHint{const_cast<char*>("sorimo"), const_cast<char*>("Sorimo")};
    XSetClassHint(d, window_.Get(), &classHint);
    SetCaption(spec.Caption);
    SetWindowType();
    SetNoDecorations();
    SetSizeHints();
    SetInputHints();
    if (kind_ == WindowKind::Dialog && context_.mainWindow)
        XSetTransientForHint(d, window_.Get(), context_.mainWindow);
    if (kind_ == WindowKind::Main) SetSkipTaskbarState();
}

X11Window::~X11Window() {
    // Later dialogs must not name a window that no longer exists.
    if (context_.mainWindow == window_.Get()) context_.mainWindow = 0;
    gc_.Reset();
    window_.Reset();
    XFlush(context_.display);
}

void X11Window::SetWindowType() {
    const Atoms& a = *context_.atoms;
    Atom type = a._NET_WM_WINDOW_TYPE_NORMAL;
    if (kind_ == WindowKind::Dialog) type = a._NET_WM_WINDOW_TYPE_DIALOG;
    if (kind_ == WindowKind::Tooltip) type = a._NET_WM_WINDOW_TYPE_TOOLTIP;
    XChangeProperty(context_.display, window_.Get(), a._NET_WM_WINDOW_TYPE, XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&type), 1);
}

void X11Window::SetNoDecorations() {
    // flags = MWM_HINTS_DECORATIONS, decorations = 0
    const long hints[5] = {2, 0, 0, 0, 0};
    XChangeProperty(context_.display, window_.Get(), context_.atoms->_MOTIF_WM_HINTS,
                    context_.atoms->_MOTIF_WM_HINTS, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(hints), 5);
}

void X11Window::SetSizeHints() {
    XSizeHints hints{};
    hints.flags = USPosition | PPosition | PMinSize | PMaxSize | USSize | PSize;
    const TRect physical = Physical();
    hints.x = physical.Left;
    hints.y = physical.Top;
    hints.width = hints.min_width = hints.max_width = int(Positive(physical.Width()));
    hints.height = hints.min_height = hints.max_height = int(Positive(physical.Height()));
    XSetWMNormalHints(context_.display, window_.Get(), &hints);
}

void X11Window::SetSkipTaskbarState() {
    const Atoms& a = *context_.atoms;
    if (!visible_) {
        const Atom states[] = {a._NET_WM_STATE_SKIP_TASKBAR, a._NET_WM_STATE_SKIP_PAGER};
        XChangeProperty(context_.display, window_.Get(), a._NET_WM_STATE, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(states), 2);
        return;
    }
    // A mapped window asks the window manager.
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window_.Get();
    e.xclient.message_type = a._NET_WM_STATE;
    e.xclient.format = 32;
    e.xclient.data.l[0] = 1;  // _NET_WM_STATE_ADD
    e.xclient.data.l[1] = long(a._NET_WM_STATE_SKIP_TASKBAR);
    e.xclient.data.l[2] = long(a._NET_WM_STATE_SKIP_PAGER);
    e.xclient.data.l[3] = 1;
    XSendEvent(context_.display, context_.root, False,
               SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

void X11Window::SetInputHints() {
    if (kind_ != WindowKind::Dialog) return;
    XWMHints hints{};
    hints.flags = InputHint;
    hints.input = True;  // the window manager gives it the focus
    XSetWMHints(context_.display, window_.Get(), &hints);
}

void X11Window::TakeFocus(Time time) {
    if (kind_ != WindowKind::Dialog || !visible_) return;
    XSetInputFocus(context_.display, window_.Get(), RevertToParent, time);
}

void X11Window::SetBounds(const TRect& screenRect) {
    const bool resized = screenRect.Width() != bounds_.Width() ||
                         screenRect.Height() != bounds_.Height();
    bounds_ = screenRect;
    if (resized) SetSizeHints();
    const TRect physical = Physical();
    if (visible_ && (!seen_ || seen_->X != physical.Left || seen_->Y != physical.Top))
        RequestMove({physical.Left, physical.Top});
    XMoveResizeWindow(context_.display, window_.Get(), physical.Left, physical.Top,
                      Positive(physical.Width()), Positive(physical.Height()));
}

void X11Window::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (visible) {
        // Window managers drop _NET_WM_STATE on unmap: set it before each map.
        if (kind_ == WindowKind::Main) SetSkipTaskbarState();
        SetSizeHints();
        XMapRaised(context_.display, window_.Get());
        RequestMove({Physical().Left, Physical().Top});
        XMoveWindow(context_.display, window_.Get(), Physical().Left, Physical().Top);
    } else {
        XUnmapWindow(context_.display, window_.Get());
    }
    visible_ = visible;
    XFlush(context_.display);
}

void X11Window::SetCaption(const std::string& caption) {
    // WM_NAME as STRING when the caption is Latin-1, else as compound
    // text, so that tools reading only the old property see the same name
    // as those reading _NET_WM_NAME. The Latin-1 case is written directly:
    // Xlib's converter loads the locale tables on its first use, which
    // costs a millisecond at start-up.
    if (const std::optional<std::string> latin1 = Latin1(caption)) {
        SetTextProperty(context_.display, window_.Get(), XA_WM_NAME, XA_STRING, *latin1);
    } else {
        char* list[] = {const_cast<char*>(caption.c_str())};
        XTextProperty name{};
        if (Xutf8TextListToTextProperty(context_.display, list, 1, XCompoundTextStyle, &name) >= 0) {
            XSetWMName(context_.display, window_.Get(), &name);
            XFree(name.value);
        }
    }
    SetTextProperty(context_.display, window_.Get(), context_.atoms->_NET_WM_NAME,
                    context_.atoms->UTF8_STRING, caption);
}

void X11Window::SetIcon(const gfx::TIcon& icon) {
    if (icon.Empty()) return;
    std::vector<long> data{long(icon.Width()), long(icon.Height())};
    for (int y = 0; y < icon.Height(); ++y)
        for (int x = 0; x < icon.Width(); ++x)
            data.push_back(long((unsigned long)(icon.AlphaAt(x, y)) << 24 | icon.Pixels().At(x, y)));
    XChangeProperty(context_.display, window_.Get(), context_.atoms->_NET_WM_ICON, XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(data.data()),
                    int(data.size()));
}

void X11Window::Present(const gfx::TSurface& backBuffer, const TRect& area) {
    const TRect r = gfx::Intersect(area, backBuffer.BoundsRect());
    if (r.IsEmpty() || !visible_) return;
    const int s = context_.scale;
    const gfx::TSurface* source = &backBuffer;
    if (s > 1) {
        if (scaled_.Width() != backBuffer.Width() * s || scaled_.Height() != backBuffer.Height() * s)
            scaled_ = gfx::TSurface(backBuffer.Width() * s, backBuffer.Height() * s);
        for (int y = r.Top * s; y < r.Bottom * s; ++y)
            for (int x = r.Left * s; x < r.Right * s; ++x) scaled_.Set(x, y, backBuffer.At(x / s, y / s));
        source = &scaled_;
    }
    PutSurface({context_.display, window_.Get(), gc_.Get(), context_.visual, context_.depth},
               *source, gfx::ScaleRect(r, s));
}

void X11Window::BringToFront() {
    XRaiseWindow(context_.display, window_.Get());
    if (kind_ == WindowKind::Tooltip || !visible_) return;
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window_.Get();
    e.xclient.message_type = context_.atoms->_NET_ACTIVE_WINDOW;
    e.xclient.format = 32;
    e.xclient.data.l[0] = 1;  // from an application
    e.xclient.data.l[1] = long(context_.userTime);
    XSendEvent(context_.display, context_.root, False,
               SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

// ------------------------------------------------------------ where it is

// Only the main window's moves tell whether the manager carries them out.
void X11Window::RequestMove(TPoint physical) {
    if (kind_ != WindowKind::Main) return;
    constexpr std::size_t kKept = 64;  // a manager that answers nothing
    if (moves_.size() == kKept) moves_.erase(moves_.begin());
    moves_.push_back({physical, NextRequest(context_.display)});
}

void X11Window::Configured(const XConfigureEvent& e) {
    if (kind_ == WindowKind::Tooltip) return;  // never placed by a manager
    // A manager's synthetic notice and a notice relative to the root give
    // the place itself; inside a manager's frame it is asked for.
    TPoint at{e.x, e.y};
    if (!e.send_event && parent_ != context_.root) {
        Window child = None;
        if (!XTranslateCoordinates(context_.display, window_.Get(), context_.root, 0, 0, &at.X, &at.Y, &child))
            return;
    }
    if (!moves_.empty()) {
        auto done = std::find_if(moves_.begin(), moves_.end(),
                                 [&](const MoveRequest& m) { return m.At == at; });
        if (done != moves_.end()) {
            moves_.erase(moves_.begin(), done + 1);
        } else if (e.serial >= moves_.back().Serial && (!seen_ || *seen_ != at)) {
            // Put elsewhere after the program's latest move had reached
            // the server: the manager places this window itself.
            context_.movesRefused = true;
            moves_.clear();
        }
    }
    seen_ = at;
    const TPoint logical = LogicalPoint(at, context_.scale);
    if (logical.X == bounds_.Left && logical.Y == bounds_.Top) return;
    bounds_ = gfx::Bounds(logical.X, logical.Y, bounds_.Width(), bounds_.Height());
    listener_.NativeMoved(logical);
}

void X11Window::Mapped() {
    if (kind_ != WindowKind::Main || context_.movesRefused) return;
    // The X11 managers of Wayland compositors place windows themselves and
    // may answer a move by leaving the window where it is, which tells
    // nothing: they are known by name.
    const std::optional<std::string> name = WindowManagerName(context_);
    if (name && (*name == "wlroots wm" || *name == "Weston WM")) context_.movesRefused = true;
}

void X11Window::SendMoveResize(TPoint physical, long direction) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window_.Get();
    e.xclient.message_type = context_.atoms->_NET_WM_MOVERESIZE;
    e.xclient.format = 32;
    e.xclient.data.l[0] = physical.X;
    e.xclient.data.l[1] = physical.Y;
    e.xclient.data.l[2] = direction;
    e.xclient.data.l[3] = Button1;
    e.xclient.data.l[4] = 1;  // from an application
    XSendEvent(context_.display, context_.root, False,
               SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XFlush(context_.display);
}

bool X11Window::BeginSystemMove(const TPoint& screen) {
    if (kind_ != WindowKind::Main || !visible_ || !context_.movesRefused) return false;
    // The manager can take the pointer only once the press's grab is let go.
    XUngrabPointer(context_.display, CurrentTime);
    constexpr long kMove = 8;  // _NET_WM_MOVERESIZE_MOVE
    SendMoveResize({screen.X * context_.scale, screen.Y * context_.scale}, kMove);
    return true;
}

void X11Window::CancelSystemMove() {
    constexpr long kCancel = 11;  // _NET_WM_MOVERESIZE_CANCEL
    if (kind_ == WindowKind::Main) SendMoveResize({0, 0}, kCancel);
}

void X11Window::HideTaskbarEntry() {
    if (kind_ == WindowKind::Main) SetSkipTaskbarState();
}

}  // namespace platform::x11
