#include "platform/x11/X11Platform.h"

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <vector>

#include <X11/keysym.h>

#include "i18n/Messages.h"
#include "platform/common/DoubleClickTracker.h"
#include "platform/freetype/FreeTypeFontEngine.h"
#include "platform/posix/SignalWatch.h"
#include "platform/x11/X11Display.h"
#include "platform/x11/X11Errors.h"
#include "platform/x11/X11Input.h"
#include "platform/x11/X11Monitors.h"
#include "platform/x11/X11Tray.h"
#include "platform/x11/X11Window.h"
#include "platform/x11/XdndTarget.h"
#include "platform/xdg/tray/NotifyAreaRouter.h"
#include "platform/xdg/RunningCopySocket.h"
#include "platform/xdg/tray/StatusNotifierArea.h"
#include "platform/xdg/DesktopServices.h"

namespace platform {

namespace x11 {
namespace {

std::optional<Key> KeyOf(XKeyEvent& e) {
    switch (XLookupKeysym(&e, 0)) {
        case XK_Return: return Key::Return;
        case XK_KP_Enter: return Key::KeypadEnter;
        case XK_space: return Key::Space;
        case XK_Escape: return Key::Escape;
        default: return std::nullopt;
    }
}

// The server time a launcher put into DESKTOP_STARTUP_ID ("..._TIME1234"),
// or none.
std::optional<Time> StartupTime() {
    const char* id = std::getenv("DESKTOP_STARTUP_ID");
    const char* mark = id ? std::strstr(id, "_TIME") : nullptr;
    if (!mark) return std::nullopt;
    char* end = nullptr;
    const unsigned long time = std::strtoul(mark + 5, &end, 10);
    if (end == mark + 5 || time == 0) return std::nullopt;
    return Time(time);
}

// A later start's request: "activate" or "toggle", then optionally its
// start time.
std::optional<StartRequest> ParseStartRequest(const std::string& message, Time& time) {
    const std::size_t blank = message.find(' ');
    const std::string word = message.substr(0, blank);
    if (blank != std::string::npos) time = Time(std::strtoul(message.c_str() + blank + 1, nullptr, 10));
    if (word == "activate") return StartRequest::Activate;
    if (word == "toggle") return StartRequest::Toggle;
    return std::nullopt;
}

// Returning hands a lost connection to the exit handler set per display
// (Xlib's own handler would end the process at once).
int ReturnFromIOError(Display*) { return 0; }

std::string ExecutableOfThisProcess() {
    std::error_code ec;
    auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("sorimo") : path.string();
}

class X11Platform final : public Platform {
public:
    explicit X11Platform(std::unique_ptr<posix::SignalWatch> signals);
    ~X11Platform() override;

    std::int64_t NowMs() override;
    bool InputPending() override { return XPending(display_.get()) > 0; }
    void DeliverEvents(std::int64_t deadlineMs) override;
    void SetAppListener(AppListener* listener) override { app_ = listener; }
    std::unique_ptr<NativeWindow> CreateNativeWindow(const WindowSpec& spec,
                                                     WindowListener& listener) override;
    TPoint CursorPos() override;
    TRect ScreenRect() override { return Monitors().front(); }
    std::vector<TRect> Monitors() override;
    gfx::TFontEngine& Fonts() override { return *fonts_; }
    const gfx::TSystemColors& SystemColors() override {
        return gfx::ClassicSystemColors::Instance();
    }
    std::string ExecutablePath() override { return executable_; }
    std::string SettingsFile() override {
        HandleSignalsDuringStartUp();
        return services_.SettingsFile(executable_);
    }
    int ShellOpen(const ShellOpenRequest& request) override { return services_.ShellOpen(request); }
    std::optional<gfx::TIcon> FileIcon(const std::string& path) override {
        HandleSignalsDuringStartUp();
        if (ending_) return std::nullopt;  // no more work for a program about to end
        return services_.FileIcon(path);
    }
    std::unique_ptr<FileDialogSession> BeginOpenFileDialog(const OpenFileRequest& r) override {
        return services_.BeginOpenFileDialog(r);
    }
    bool ShowNativeErrorBox(const std::string&, const std::string&) override { return false; }
    bool NotifyIcon(std::uint32_t message, const NotifyIconData& data) override;
    bool BecomeRunningCopy(StartRequest request) override;

private:
    void WaitForInput(std::int64_t deadlineMs);
    void HandleSignals();
    void HandleSignalsDuringStartUp();
    void HandleStartRequests();
    void DispatchAll();
    void CheckMonitors();
    void DispatchKey(X11Window& w, XKeyEvent& e);
    void DispatchClientMessage(X11Window& w, const XClientMessageEvent& e);
    void FocusNewDialog(X11Window& w);
    void Dispatch(XEvent& e);
    void DispatchButton(X11Window& w, const XButtonEvent& e);
    void DispatchMotion(X11Window& w, XMotionEvent e);
    X11Window* Find(Window id);
    TPoint Logical(TPoint screen) const;
    void TrayNotify(const NotifyIconData& record, std::intptr_t mouseMessage, TPoint screen);
    bool TrackTrayManager(const XEvent& e);
    void FinishTrayTurn();
    static void OnDisplayLost(Display* display, void* self);

    // Made by main before anything else, so that SIGTERM, SIGINT and SIGHUP
    // are caught from the start: one arriving before the loop runs is acted
    // on at the next call that start-up makes (see
    // HandleSignalsDuringStartUp) instead of killing the program or being
    // ignored.
    std::unique_ptr<posix::SignalWatch> signals_;
    bool looping_ = false;  // the loop has delivered events once
    bool ending_ = false;   // the session end was passed on
    DisplayPtr display_;
    std::unique_ptr<Atoms> atoms_;
    Context context_;
    std::unique_ptr<gfx::TFontEngine> fonts_;
    xdg::DesktopServices services_;
    // The notification area: StatusNotifierItems where a watcher runs on
    // the session bus (connected once the main window is mapped), else the
    // XEmbed tray.
    std::unique_ptr<X11Tray> tray_;
    std::unique_ptr<xdg::StatusNotifierArea> items_;
    std::unique_ptr<xdg::NotifyAreaRouter> area_;
    bool mainMapped_ = false;
    std::unique_ptr<XdndTarget> drops_;
    std::unique_ptr<X11Monitors> monitors_;
    // The layout last reported (screen pixels), once asked for; an event
    // that leaves it as it was tells the program nothing.
    std::optional<std::vector<TRect>> knownMonitors_;
    bool layoutEvent_ = false;
    std::unique_ptr<xdg::RunningCopySocket> runningCopy_;
    std::map<Window, X11Window*> windows_;
    AppListener* app_ = nullptr;
    DoubleClickTracker doubleClicks_;
    std::string executable_ = ExecutableOfThisProcess();
};

X11Platform::X11Platform(std::unique_ptr<posix::SignalWatch> signals)
    : signals_(std::move(signals)), display_(XOpenDisplay(nullptr)) {
    if (!display_) {
        const char* name = std::getenv("DISPLAY");
        if (!name || !*name) throw std::runtime_error(i18n::Tr("Cannot open the X display: DISPLAY is not set."));
        throw std::runtime_error(i18n::Format(i18n::Tr("Cannot open the X display %s: it does not answer."), {name}));
    }
    Display* d = display_.get();
    atoms_ = std::make_unique<Atoms>(d);
    context_.display = d;
    context_.atoms = atoms_.get();
    context_.screen = DefaultScreen(d);
    context_.root = RootWindow(d, context_.screen);
    context_.visual = DefaultVisual(d, context_.screen);
    context_.depth = DefaultDepth(d, context_.screen);
    context_.scale = ScreenScale(d);
    if (context_.depth < 24 || context_.visual->red_mask != 0xFF0000)
        throw std::runtime_error(i18n::Tr("A 24-bit TrueColor display is needed."));
    fonts_ = CreateFreeTypeFontEngine();
    auto notify = [this](const NotifyIconData& r, std::intptr_t m, TPoint p) { TrayNotify(r, m, p); };
    tray_ = std::make_unique<X11Tray>(context_, *fonts_, notify, [this] {
        if (!knownMonitors_) knownMonitors_ = monitors_->Query();
        return *knownMonitors_;
    });
    items_ = std::make_unique<xdg::StatusNotifierArea>(services_.Gio(), notify);
    area_ = std::make_unique<xdg::NotifyAreaRouter>(*items_, *tray_);
    area_->SetTray(tray_->ManagerPresent());
    area_->SetWatcher(items_->State());
    drops_ = std::make_unique<XdndTarget>(context_, [this](Window id) -> WindowListener* {
        X11Window* w = Find(id);
        return w ? &w->Listener() : nullptr;
    });
    monitors_ = std::make_unique<X11Monitors>(d, context_.root);
    XSetIOErrorExitHandler(d, &X11Platform::OnDisplayLost, this);
    XSetErrorHandler(&HandleProtocolError);
    XSetIOErrorHandler(&ReturnFromIOError);
}

// The display connection is gone (the X server ended or the session was
// closed): save what the program holds and end, instead of letting Xlib end
// the process on its own.
void X11Platform::OnDisplayLost(Display*, void* self) {
    auto* platform = static_cast<X11Platform*>(self);
    if (platform->app_) platform->app_->NativeSessionEnd();
    _exit(0);
}

void X11Platform::TrayNotify(const NotifyIconData& record, std::intptr_t mouseMessage,
                             TPoint screen) {
    if (app_)
        app_->NativeTrayMessage(record.hWnd, record.uCallbackMessage, record.uID, mouseMessage,
                                Logical(screen));
}

// The items go before the tray and the router before both.
X11Platform::~X11Platform() {
    area_.reset();
    items_.reset();
}

std::int64_t X11Platform::NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::unique_ptr<NativeWindow> X11Platform::CreateNativeWindow(const WindowSpec& spec,
                                                              WindowListener& listener) {
    HandleSignalsDuringStartUp();
    auto window = std::make_unique<X11Window>(context_, spec, listener);
    if (spec.Kind == WindowKind::Main && !context_.mainWindow) context_.mainWindow = window->Id();
    if (spec.Kind == WindowKind::Main) drops_->TakeDrops(window->Id());
    windows_[window->Id()] = window.get();
    // The map entry goes when the window does: wrap to unregister.
    struct Tracked final : NativeWindow {
        Tracked(std::unique_ptr<X11Window> w, std::map<Window, X11Window*>& registry)
            : inner(std::move(w)), windows(registry) {}
        ~Tracked() override { windows.erase(inner->Id()); }
        void SetBounds(const TRect& r) override { inner->SetBounds(r); }
        void SetVisible(bool v) override { inner->SetVisible(v); }
        void SetCaption(const std::string& c) override { inner->SetCaption(c); }
        void SetIcon(const gfx::TIcon& i) override { inner->SetIcon(i); }
        void Present(const gfx::TSurface& s, const TRect& r) override { inner->Present(s, r); }
        void BringToFront() override { inner->BringToFront(); }
        void HideTaskbarEntry() override { inner->HideTaskbarEntry(); }
        std::uintptr_t Handle() const override { return inner->Handle(); }
        int PixelScale() const override { return inner->PixelScale(); }
        bool BeginSystemMove(const TPoint& p) override { return inner->BeginSystemMove(p); }
        void CancelSystemMove() override { inner->CancelSystemMove(); }
        std::unique_ptr<X11Window> inner;
        std::map<Window, X11Window*>& windows;
    };
    return std::make_unique<Tracked>(std::move(window), windows_);
}

X11Window* X11Platform::Find(Window id) {
    auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : it->second;
}

TPoint X11Platform::CursorPos() {
    Window root = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(display_.get(), context_.root, &root, &child, &rx, &ry, &wx, &wy, &mask);
    return Logical({rx, ry});
}

std::vector<TRect> X11Platform::Monitors() {
    if (!knownMonitors_) knownMonitors_ = monitors_->Query();
    std::vector<TRect> logical;
    for (const TRect& m : *knownMonitors_) {
        const TPoint topLeft = Logical({m.Left, m.Top});
        const TPoint bottomRight = Logical({m.Right, m.Bottom});
        logical.push_back({topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y});
    }
    return logical;
}

void X11Platform::CheckMonitors() {
    if (!layoutEvent_) return;
    layoutEvent_ = false;
    if (!knownMonitors_) return;  // nobody asked yet: nothing to compare with
    std::vector<TRect> now = monitors_->Query();
    if (now == *knownMonitors_) return;
    knownMonitors_ = std::move(now);
    if (app_) app_->NativeMonitorsChanged();
}

bool X11Platform::BecomeRunningCopy(StartRequest request) {
    std::string message = request == StartRequest::Toggle ? "toggle" : "activate";
    if (const std::optional<Time> time = StartupTime()) {
        message.push_back(' ');
        message.append(std::to_string(*time));
    }
    return xdg::ClaimRunningCopy(runningCopy_, SettingsFile(), message);
}

void X11Platform::HandleStartRequests() {
    if (!runningCopy_) return;
    for (const std::string& message : runningCopy_->TakeMessages()) {
        Time time = CurrentTime;
        const std::optional<StartRequest> request = ParseStartRequest(message, time);
        if (!request) continue;
        if (time != CurrentTime) context_.userTime = time;
        if (app_) app_->NativeStartRequest(*request);
    }
}

TPoint X11Platform::Logical(TPoint screen) const {
    return LogicalPoint(screen, context_.scale);
}

bool X11Platform::NotifyIcon(std::uint32_t message, const NotifyIconData& data) {
    HandleSignalsDuringStartUp();
    return area_->Apply(message, data);
}

// ------------------------------------------------------------ the loop

void X11Platform::DeliverEvents(std::int64_t deadlineMs) {
    looping_ = true;
    XFlush(display_.get());
    for (const std::int64_t due : {tray_->NextDeadline(), drops_->NextDeadline()})
        if (due >= 0 && (deadlineMs < 0 || due < deadlineMs)) deadlineMs = due;
    if (XPending(display_.get()) == 0)
        WaitForInput(deadlineMs);
    else
        items_->DispatchReady();
    HandleSignals();
    HandleStartRequests();
    DispatchAll();
    CheckMonitors();
    tray_->OnTime(NowMs());
    drops_->OnTime(NowMs());
    FinishTrayTurn();
}

// Once per turn: the session bus is asked for a watcher after the first map
// (so it never delays it), and the icons move to the service that is there
// now; the GUI layer hears when all were lost and when an area appeared for
// icons that had been refused.
void X11Platform::FinishTrayTurn() {
    if (mainMapped_) items_->Start();
    area_->SetWatcher(items_->State());
    area_->SetTrayDraws(tray_->Draws());
    area_->Reconcile();
    if (!app_) return;
    if (area_->TakeLost()) app_->NativeTrayLost();
    if (area_->TakeAppeared()) app_->NativeTrayRecreated();
}

void X11Platform::WaitForInput(std::int64_t deadlineMs) {
    std::vector<pollfd> fds{{ConnectionNumber(display_.get()), POLLIN, 0},
                            {signals_->Fd(), POLLIN, 0}};
    for (int fd : services_.WatchedFds()) fds.push_back({fd, POLLIN, 0});
    if (runningCopy_ && runningCopy_->Fd() >= 0) fds.push_back({runningCopy_->Fd(), POLLIN, 0});
    int timeout = -1;
    if (deadlineMs >= 0) timeout = int(std::max<std::int64_t>(0, deadlineMs - NowMs()));
    items_->Prepare(fds, timeout);
    poll(fds.data(), fds.size(), timeout);
    items_->Dispatch(fds);
}

void X11Platform::HandleSignals() {
    while (int signal = signals_->Take()) {
        if (signal == SIGCHLD) {
            services_.ReapChildren();
        } else if (app_) {
            ending_ = true;
            app_->NativeSessionEnd();
        }
    }
}

// Start-up (windows, the tray icon, the settings, an icon per slot) runs
// before the loop first waits. The calls it makes into the platform take
// pending signals, so that a session manager ending the program early is
// answered within that time, not after all of it. Once the end is passed
// on, saving the settings calls in here too: nothing more is taken then.
void X11Platform::HandleSignalsDuringStartUp() {
    if (!looping_ && !ending_ && app_) HandleSignals();
}

void X11Platform::DispatchAll() {
    while (XPending(display_.get()) > 0) {
        XEvent e;
        XNextEvent(display_.get(), &e);
        Dispatch(e);
    }
}

bool X11Platform::TrackTrayManager(const XEvent& e) {
    switch (tray_->TrackManager(e)) {
        case X11Tray::ManagerChange::Appeared: area_->TrayReplaced(); return true;
        case X11Tray::ManagerChange::Gone: area_->SetTray(false); return true;
        case X11Tray::ManagerChange::Unchanged: return false;
    }
    return false;
}

void X11Platform::Dispatch(XEvent& e) {
    if (monitors_->IsLayoutEvent(e)) layoutEvent_ = true;  // looked at once the queue is empty
    if (TrackTrayManager(e)) return;
    if (e.type == MapNotify && e.xmap.window == context_.mainWindow) mainMapped_ = true;
    if (tray_->HandleEvent(e, NowMs())) return;
    if (drops_->HandleEvent(e, NowMs())) return;
    X11Window* w = Find(e.xany.window);
    if (!w) return;
    switch (e.type) {
        case Expose: {
            const int s = context_.scale;
            w->Listener().NativeExpose({e.xexpose.x / s, e.xexpose.y / s,
                                        (e.xexpose.x + e.xexpose.width + s - 1) / s,
                                        (e.xexpose.y + e.xexpose.height + s - 1) / s});
            break;
        }
        case ButtonPress:
        case ButtonRelease:
            context_.userTime = e.xbutton.time;
            DispatchButton(*w, e.xbutton);
            break;
        case KeyPress: DispatchKey(*w, e.xkey); break;
        case MapNotify:
            w->Mapped();
            FocusNewDialog(*w);
            break;
        case ConfigureNotify: w->Configured(e.xconfigure); break;
        case ReparentNotify: w->Reparented(e.xreparent); break;
        case MotionNotify: DispatchMotion(*w, e.xmotion); break;
        case EnterNotify:
            w->Listener().NativeMouse({MouseAction::Move, gfx::mbLeft, ShiftOf(e.xcrossing.state),
                                       Logical({e.xcrossing.x_root, e.xcrossing.y_root}),
                                       Logical({e.xcrossing.x, e.xcrossing.y})});
            break;
        case LeaveNotify:
            // Leaving during a grab still reports motion to us; only a
            // plain leave means the pointer is gone.
            if (e.xcrossing.mode == NotifyNormal && !(e.xcrossing.state & (Button1Mask | Button2Mask | Button3Mask)))
                w->Listener().NativeMouse({MouseAction::Leave, gfx::mbLeft, 0, {}, {}});
            break;
        case ClientMessage: DispatchClientMessage(*w, e.xclient); break;
        default: break;
    }
}

void X11Platform::DispatchClientMessage(X11Window& w, const XClientMessageEvent& e) {
    if (e.message_type != atoms_->WM_PROTOCOLS) return;
    const Atom protocol = Atom(e.data.l[0]);
    if (protocol == atoms_->WM_DELETE_WINDOW) w.Listener().NativeCloseRequest();
    if (protocol == atoms_->WM_TAKE_FOCUS) w.TakeFocus(Time(e.data.l[1]));
}

void X11Platform::DispatchKey(X11Window& w, XKeyEvent& e) {
    context_.userTime = e.time;
    if (const std::optional<Key> key = KeyOf(e)) w.Listener().NativeKey({*key, ShiftOf(e.state)});
}

void X11Platform::FocusNewDialog(X11Window& w) {
    // A dialog that appears takes the focus itself only from the program's
    // own windows or from nobody: other programs' focus is the window
    // manager's to hand over (it offers it with WM_TAKE_FOCUS).
    if (w.Kind() != WindowKind::Dialog) return;
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display_.get(), &focus, &revert);
    if (focus == None || focus == PointerRoot || focus == context_.root || Find(focus))
        w.TakeFocus(context_.userTime);
}

void X11Platform::DispatchButton(X11Window& w, const XButtonEvent& e) {
    const auto button = ButtonOf(e.button);
    if (!button) return;
    MouseInput input{MouseAction::Up, *button, ShiftOf(e.state), Logical({e.x_root, e.y_root}),
                     Logical({e.x, e.y})};
    if (e.type == ButtonPress) {
        const bool dbl = doubleClicks_.Press(*button, {e.x_root, e.y_root}, w.Id(),
                                             std::int64_t(e.time));
        input.Action = dbl ? MouseAction::DoubleClick : MouseAction::Down;
    }
    w.Listener().NativeMouse(input);
}

void X11Platform::DispatchMotion(X11Window& w, XMotionEvent e) {
    // Merge the motion queued right behind: only the newest position
    // matters. Motion queued after a press, a release or a move of the
    // window stays behind it, or the pointer would pass that event early.
    while (XEventsQueued(display_.get(), QueuedAfterReading) > 0) {
        XEvent next;
        XPeekEvent(display_.get(), &next);
        if (next.type != MotionNotify || next.xmotion.window != w.Id()) break;
        XNextEvent(display_.get(), &next);
        e = next.xmotion;
    }
    w.Listener().NativeMouse({MouseAction::Move, gfx::mbLeft, ShiftOf(e.state), Logical({e.x_root, e.y_root}),
                              Logical({e.x, e.y})});
}

}  // namespace
}  // namespace x11

std::unique_ptr<Platform> CreateX11Platform(std::unique_ptr<posix::SignalWatch> signals) {
    return std::make_unique<x11::X11Platform>(std::move(signals));
}

}  // namespace platform
