#include "platform/x11/X11Tray.h"

#include <dlfcn.h>

#include <X11/extensions/XRes.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "gfx/Canvas.h"
#include "gfx/TextLayout.h"
#include "platform/x11/TipPlacement.h"
#include "platform/x11/X11Handles.h"

namespace platform::x11 {

namespace {
constexpr long SYSTEM_TRAY_REQUEST_DOCK = 0;
constexpr unsigned long XEMBED_MAPPED = 1;
constexpr int kTipDelayMs = 500;
constexpr std::intptr_t WM_MOUSEMOVE = 0x200;

std::intptr_t DownMessage(unsigned button) {
    return button == Button1 ? 0x201 : button == Button3 ? 0x204 : 0x207;
}

// Looks the tray's preferred visual up; null when it offers none we can use.
Visual* TrayVisual(Display* d, Window owner, Atom property, int& depth) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, owner, property, 0, 1, False, XA_VISUALID, &type, &format, &count,
                           &after, &data) != Success || !data)
        return nullptr;
    const VisualID id = VisualID(*reinterpret_cast<unsigned long*>(data));
    XFree(data);
    XVisualInfo wanted{};
    wanted.visualid = id;
    int n = 0;
    XVisualInfo* info = XGetVisualInfo(d, VisualIDMask, &wanted, &n);
    if (!info) return nullptr;
    Visual* visual = n > 0 && info->depth == 32 ? info->visual : nullptr;
    if (visual) depth = 32;
    XFree(info);
    return visual;
}

// The process behind a window, asked of the server (X-Resource 1.2; its
// library is loaded only here, and stays: it hooks the connection's close),
// by its command name; empty when unknown.
std::string ProcessNameOf(Display* d, Window w) {
    struct Closer {
        void operator()(void* library) const { dlclose(library); }
    };
    std::unique_ptr<void, Closer> library(dlopen("libXRes.so.1", RTLD_LAZY | RTLD_LOCAL | RTLD_NODELETE));
    if (!library) return {};
    const auto query = reinterpret_cast<decltype(&XResQueryClientIds)>(dlsym(library.get(), "XResQueryClientIds"));
    const auto pidOf = reinterpret_cast<decltype(&XResGetClientPid)>(dlsym(library.get(), "XResGetClientPid"));
    const auto destroy = reinterpret_cast<decltype(&XResClientIdsDestroy)>(dlsym(library.get(), "XResClientIdsDestroy"));
    int event = 0, error = 0;
    if (!query || !pidOf || !destroy || !XQueryExtension(d, "X-Resource", &event, &event, &error)) return {};
    XResClientIdSpec spec{w, XRES_CLIENT_ID_PID_MASK};
    long count = 0;
    XResClientIdValue* ids = nullptr;
    if (query(d, 1, &spec, &count, &ids) != Success) return {};
    pid_t pid = -1;
    for (long i = 0; i < count && pid < 0; ++i) pid = pidOf(&ids[i]);
    destroy(count, ids);
    if (pid <= 0) return {};
    std::string name;
    std::getline(std::ifstream("/proc/" + std::to_string(pid) + "/comm"), name);
    return name;
}

// The icon scaled to w x h (nearest pixel), blended over `ground`, or with
// premultiplied alpha kept when `argb`.
void Compose(const gfx::TIcon& icon, gfx::TSurface& ground, bool argb) {
    const int w = ground.Width(), h = ground.Height();
    const int side = std::min(w, h);
    const int ox = (w - side) / 2, oy = (h - side) / 2;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const int sx = x * icon.Width() / side, sy = y * icon.Height() / side;
            const unsigned a = icon.AlphaAt(sx, sy);
            const gfx::TPixel src = icon.Pixels().At(sx, sy);
            const gfx::TPixel dst = argb ? 0 : ground.At(ox + x, oy + y);
            gfx::TPixel out = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                const unsigned s = (src >> shift) & 0xFF, b = (dst >> shift) & 0xFF;
                out |= ((s * a + b * (255 - a)) / 255) << shift;
            }
            if (argb) out |= gfx::TPixel(a) << 24;
            ground.Set(ox + x, oy + y, out);
        }
}
}  // namespace

// One docked icon and its tip window.
class TrayIcon {
public:
    TrayIcon(Context& context, gfx::TFontEngine& fonts, const NotifyIconData& record, Window owner);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    Window Id() const { return window_.Get(); }
    const NotifyIconData& Record() const { return record_; }
    void Update(const NotifyIconData& record);
    void Draw();
    void ArmTip(std::int64_t nowMs) {
        if (!tipShown_ && tipDue_ < 0) tipDue_ = nowMs + kTipDelayMs;
    }
    void HideTip();
    std::int64_t TipDue() const { return tipDue_; }
    void ShowTip(const std::vector<TRect>& monitors);
    // The tray showed the icon window (the server exposed it), or hid it.
    bool Drawn() const { return drawn_; }
    void SetDrawn(bool drawn) { drawn_ = drawn; }

private:
    void RequestDock(Window owner);

    Context& context_;
    gfx::TFontEngine& fonts_;
    NotifyIconData record_;
    ColormapOwner colormap_;
    WindowOwner window_;
    Visual* visual_ = nullptr;
    int depth_ = 24;
    GcOwner gc_;  // for the icon window, of its depth
    WindowOwner tip_;
    GcOwner tipGc_;  // for the tip, of the screen's depth
    bool tipShown_ = false;
    bool drawn_ = false;
    std::int64_t tipDue_ = -1;
};

TrayIcon::TrayIcon(Context& context, gfx::TFontEngine& fonts, const NotifyIconData& record,
                   Window owner)
    : context_(context), fonts_(fonts), record_(record) {
    Display* d = context_.display;
    visual_ = owner ? TrayVisual(d, owner, context_.atoms->_NET_SYSTEM_TRAY_VISUAL, depth_) : nullptr;
    XSetWindowAttributes attributes{};
    unsigned long mask = CWEventMask | CWBorderPixel;
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                            PointerMotionMask | EnterWindowMask | LeaveWindowMask |
                            StructureNotifyMask;
    attributes.border_pixel = 0;
    if (visual_) {
        colormap_ = ColormapOwner(d, XCreateColormap(d, context_.root, visual_, AllocNone));
        attributes.colormap = colormap_.Get();
        attributes.background_pixel = 0;
        mask |= CWColormap | CWBackPixel;
    } else {
        visual_ = context_.visual;
        depth_ = context_.depth;
        attributes.background_pixmap = ParentRelative;
        mask |= CWBackPixmap;
    }
    window_ = WindowOwner(d, XCreateWindow(d, context_.root, 0, 0, 32, 32, 0, depth_, InputOutput,
                                           visual_, mask, &attributes));
    gc_ = GcOwner(d, XCreateGC(d, window_.Get(), 0, nullptr));
    const unsigned long info[2] = {0, XEMBED_MAPPED};
    XChangeProperty(d, window_.Get(), context_.atoms->_XEMBED_INFO, context_.atoms->_XEMBED_INFO, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(info), 2);
    // Without a minimum size some trays give the icon one pixel of width.
    XSizeHints hints{};
    hints.flags = PMinSize | PBaseSize;
    hints.min_width = hints.min_height = 16;
    hints.base_width = hints.base_height = 32;
    XSetWMNormalHints(d, window_.Get(), &hints);
    XStoreName(d, window_.Get(), "Sorimo tray icon");
    if (owner != None) RequestDock(owner);
    XFlush(d);
}

void TrayIcon::RequestDock(Window owner) {
    Display* d = context_.display;
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = owner;
    e.xclient.message_type = context_.atoms->_NET_SYSTEM_TRAY_OPCODE;
    e.xclient.format = 32;
    e.xclient.data.l[0] = CurrentTime;
    e.xclient.data.l[1] = SYSTEM_TRAY_REQUEST_DOCK;
    e.xclient.data.l[2] = long(window_.Get());
    XSendEvent(d, owner, False, NoEventMask, &e);
}

TrayIcon::~TrayIcon() {
    HideTip();
    tipGc_.Reset();
    tip_.Reset();
    gc_.Reset();
    XUnmapWindow(context_.display, window_.Get());
    window_.Reset();
    colormap_.Reset();
    XFlush(context_.display);
}

void TrayIcon::Update(const NotifyIconData& record) {
    record_.uFlags = record.uFlags;
    record_.Icon = record.Icon;
    record_.szTip = record.szTip;
    Draw();
}

void TrayIcon::Draw() {
    Display* d = context_.display;
    Window root = 0;
    int x = 0, y = 0;
    unsigned w = 0, h = 0, border = 0, depth = 0;
    if (!XGetGeometry(d, window_.Get(), &root, &x, &y, &w, &h, &border, &depth) || w == 0 || h == 0)
        return;
    const bool argb = depth_ == 32;
    gfx::TSurface ground(int(w), int(h), 0);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(d, window_.Get(), &attributes) || attributes.map_state != IsViewable)
        return;  // drawn on the first Expose once docked
    if (!argb) {
        // Pseudo-transparency: let the server paint the tray's background,
        // read it back and blend the icon over it.
        XClearWindow(d, window_.Get());
        if (XImage* back = XGetImage(d, window_.Get(), 0, 0, w, h, AllPlanes, ZPixmap)) {
            for (unsigned yy = 0; yy < h; ++yy)
                for (unsigned xx = 0; xx < w; ++xx)
                    ground.Set(int(xx), int(yy), gfx::TPixel(XGetPixel(back, int(xx), int(yy)) & 0xFFFFFF));
            XDestroyImage(back);
        }
    }
    if (!record_.Icon.Empty()) Compose(record_.Icon, ground, argb);
    PutSurface({d, window_.Get(), gc_.Get(), visual_, depth_}, ground, ground.BoundsRect());
}

void TrayIcon::ShowTip(const std::vector<TRect>& monitors) {
    tipDue_ = -1;
    if (record_.szTip.empty() || tipShown_) return;
    Display* d = context_.display;
    gfx::TSurface measure(1, 1);
    gfx::TCanvas probe(measure, gfx::ClassicSystemColors::Instance(), &fonts_);
    probe.Font.SetHeight(-12);
    const int tw = probe.TextWidth(record_.szTip) + 8, th = probe.TextHeight(record_.szTip) + 4;
    gfx::TSurface pixels(tw, th);
    gfx::TCanvas canvas(pixels, gfx::ClassicSystemColors::Instance(), &fonts_);
    canvas.Font.SetHeight(-12);
    canvas.Font.SetColor(gfx::clInfoText);
    canvas.Brush = {gfx::clInfoBk, gfx::bsSolid};
    canvas.Pen.Color = gfx::clBlack;
    canvas.Rectangle(0, 0, tw, th);
    canvas.Brush.Style = gfx::bsClear;
    canvas.TextOut(4, 2, record_.szTip);
    Window root = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned m = 0;
    XQueryPointer(d, context_.root, &root, &child, &rx, &ry, &wx, &wy, &m);
    TRect icon{rx, ry, rx + 1, ry + 1};
    int ix = 0, iy = 0;
    unsigned iw = 0, ih = 0, border = 0, depth = 0;
    if (XTranslateCoordinates(d, window_.Get(), context_.root, 0, 0, &ix, &iy, &child) &&
        XGetGeometry(d, window_.Get(), &root, &wx, &wy, &iw, &ih, &border, &depth))
        icon = gfx::Bounds(ix, iy, int(iw), int(ih));
    if (!tip_) {
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        tip_ = WindowOwner(d, XCreateWindow(d, context_.root, 0, 0, 1, 1, 0, context_.depth,
                                            InputOutput, context_.visual, CWOverrideRedirect,
                                            &attributes));
        XStoreName(d, tip_.Get(), "Sorimo tray tip");
        // The icon's GC may be of a tray's 32-bit visual: the tip has its own.
        tipGc_ = GcOwner(d, XCreateGC(d, tip_.Get(), 0, nullptr));
    }
    const TPoint at = TipPlace({rx, ry}, icon, tw, th, monitors);
    XMoveResizeWindow(d, tip_.Get(), at.X, at.Y, unsigned(tw), unsigned(th));
    XMapRaised(d, tip_.Get());
    PutSurface({d, tip_.Get(), tipGc_.Get(), context_.visual, context_.depth}, pixels,
               pixels.BoundsRect());
    tipShown_ = true;
}

void TrayIcon::HideTip() {
    tipDue_ = -1;
    if (!tipShown_) return;
    XUnmapWindow(context_.display, tip_.Get());
    tipShown_ = false;
}

// ------------------------------------------------------------ X11Tray

X11Tray::X11Tray(Context& context, gfx::TFontEngine& fonts, Notify notify,
                 std::function<std::vector<TRect>()> monitors)
    : context_(context), fonts_(fonts), notify_(std::move(notify)), monitors_(std::move(monitors)) {
    // MANAGER announcements of a new tray arrive on the root window.
    XWindowAttributes attributes{};
    XGetWindowAttributes(context_.display, context_.root, &attributes);
    XSelectInput(context_.display, context_.root, attributes.your_event_mask | StructureNotifyMask);
    WatchManager();
}

X11Tray::~X11Tray() = default;

void X11Tray::WatchManager() {
    Display* d = context_.display;
    for (;;) {
        showsNothing_ = false;
        manager_ = XGetSelectionOwner(d, context_.atoms->_NET_SYSTEM_TRAY_S);
        if (manager_ == None) return;
        XSelectInput(d, manager_, StructureNotifyMask);
        // A window destroyed before our selection took effect sends no
        // DestroyNotify, but it no longer owns the selection either.
        if (XGetSelectionOwner(d, context_.atoms->_NET_SYSTEM_TRAY_S) == manager_) break;
    }
    // Trays known to show nothing of what they take: Plasma's proxy turns
    // docked icons into items for its panel (the items are used directly
    // where that panel runs; where it does not, nothing shows what the
    // proxy holds), and LXQt's tray plugin maps the icons it takes but
    // draws none (its panel shows items).
    const std::string process = ProcessNameOf(d, manager_);
    showsNothing_ = process == "xembedsniproxy" || process == "lxqt-panel";
}

bool X11Tray::Draws() const {
    if (manager_ == None || showsNothing_) return false;
    for (const auto& [id, icon] : icons_)
        if (icon->Drawn()) return true;
    return false;
}

TrayIcon* X11Tray::Find(Window w) {
    for (auto& [id, icon] : icons_)
        if (icon->Id() == w) return icon.get();
    return nullptr;
}

void X11Tray::Show(const NotifyIconData& data) {
    icons_.erase(data.uID);  // a fresh window: the tray may be new
    icons_[data.uID] = std::make_unique<TrayIcon>(context_, fonts_, data, manager_);
}

void X11Tray::Update(const NotifyIconData& data) {
    if (auto it = icons_.find(data.uID); it != icons_.end()) it->second->Update(data);
}

void X11Tray::Remove(std::uint32_t uID) { icons_.erase(uID); }

X11Tray::ManagerChange X11Tray::TrackManager(const XEvent& e) {
    if (e.type == ClientMessage && e.xclient.window == context_.root &&
        e.xclient.message_type == context_.atoms->MANAGER &&
        Atom(e.xclient.data.l[1]) == context_.atoms->_NET_SYSTEM_TRAY_S) {
        WatchManager();
        return manager_ != None ? ManagerChange::Appeared : ManagerChange::Gone;
    }
    if (e.type == DestroyNotify && manager_ != None && e.xdestroywindow.window == manager_) {
        WatchManager();  // another tray may have taken over meanwhile
        return manager_ != None ? ManagerChange::Appeared : ManagerChange::Gone;
    }
    return ManagerChange::Unchanged;
}

bool X11Tray::HandleEvent(XEvent& e, std::int64_t nowMs) {
    TrayIcon* icon = Find(e.xany.window);
    if (!icon) return false;
    switch (e.type) {
        case Expose:
            icon->SetDrawn(true);  // only a viewable window is exposed
            if (e.xexpose.count == 0) icon->Draw();
            break;
        case UnmapNotify: icon->SetDrawn(false); break;
        case ReparentNotify:
            // Back on the root: the tray that held it ended.
            if (e.xreparent.parent == context_.root) icon->SetDrawn(false);
            break;
        case ConfigureNotify: icon->Draw(); break;
        case EnterNotify: icon->ArmTip(nowMs); break;
        case LeaveNotify: icon->HideTip(); break;
        case MotionNotify:
            icon->ArmTip(nowMs);
            notify_(icon->Record(), WM_MOUSEMOVE, {e.xmotion.x_root, e.xmotion.y_root});
            break;
        case ButtonPress: {
            icon->HideTip();
            if (e.xbutton.button < Button1 || e.xbutton.button > Button3) break;
            const gfx::TMouseButton b = e.xbutton.button == Button1   ? gfx::mbLeft
                                        : e.xbutton.button == Button3 ? gfx::mbRight
                                                                      : gfx::mbMiddle;
            const bool dbl = doubleClicks_.Press(b, {e.xbutton.x_root, e.xbutton.y_root},
                                                 icon->Id(), std::int64_t(e.xbutton.time));
            notify_(icon->Record(), DownMessage(e.xbutton.button) + (dbl ? 2 : 0),
                    {e.xbutton.x_root, e.xbutton.y_root});
            break;
        }
        case ButtonRelease:
            if (e.xbutton.button >= Button1 && e.xbutton.button <= Button3)
                notify_(icon->Record(), DownMessage(e.xbutton.button) + 1,
                        {e.xbutton.x_root, e.xbutton.y_root});
            break;
        default: break;
    }
    return true;
}

std::int64_t X11Tray::NextDeadline() const {
    std::int64_t next = -1;
    for (const auto& [id, icon] : icons_)
        if (icon->TipDue() >= 0 && (next < 0 || icon->TipDue() < next)) next = icon->TipDue();
    return next;
}

void X11Tray::OnTime(std::int64_t nowMs) {
    for (auto& [id, icon] : icons_)
        if (icon->TipDue() >= 0 && icon->TipDue() <= nowMs) icon->ShowTip(monitors_ ? monitors_() : std::vector<TRect>{});
}

}  // namespace platform::x11
