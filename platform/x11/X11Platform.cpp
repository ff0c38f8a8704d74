#include "platform/x11/X11Platform.h"

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <vector>

#include "platform/common/DoubleClickTracker.h"
#include "platform/freetype/FreeTypeFontEngine.h"
#include "platform/x11/SignalWatch.h"
#include "platform/x11/X11Display.h"
#include "platform/x11/X11Services.h"
#include "platform/x11/X11Tray.h"
#include "platform/x11/X11Window.h"

namespace platform {

namespace x11 {
namespace {

std::optional<gui::TMouseButton> ButtonOf(unsigned xbutton) {
    switch (xbutton) {
        case Button1: return gui::mbLeft;
        case Button2: return gui::mbMiddle;
        case Button3: return gui::mbRight;
        default: return std::nullopt;  // wheel and extra buttons
    }
}

gui::TShiftState ShiftOf(unsigned state) {
    gui::TShiftState s = 0;
    if (state & ShiftMask) s |= gui::ssShift;
    if (state & ControlMask) s |= gui::ssCtrl;
    if (state & Mod1Mask) s |= gui::ssAlt;
    if (state & Button1Mask) s |= gui::ssLeft;
    if (state & Button2Mask) s |= gui::ssMiddle;
    if (state & Button3Mask) s |= gui::ssRight;
    return s;
}

// Protocol errors (a window that vanished under us, a tray that died) are
// not fatal: the next event tells the program what became of things.
int IgnoreProtocolError(Display*, XErrorEvent*) { return 0; }

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
    X11Platform();
    ~X11Platform() override;

    std::int64_t NowMs() override;
    bool InputPending() override { return XPending(display_.get()) > 0; }
    void DeliverEvents(std::int64_t deadlineMs) override;
    void SetAppListener(AppListener* listener) override { app_ = listener; }
    std::unique_ptr<NativeWindow> CreateNativeWindow(const WindowSpec& spec,
                                                     WindowListener& listener) override;
    TPoint CursorPos() override;
    TRect ScreenRect() override;
    gui::TFontEngine& Fonts() override { return *fonts_; }
    const gui::TSystemColors& SystemColors() override {
        return gui::ClassicSystemColors::Instance();
    }
    std::string ExecutablePath() override { return executable_; }
    std::string SettingsFile() override { return services_.SettingsFile(executable_); }
    int ShellOpen(const ShellOpenRequest& request) override { return services_.ShellOpen(request); }
    std::optional<gui::TIcon> FileIcon(const std::string& path) override {
        return services_.FileIcon(path);
    }
    std::unique_ptr<FileDialogSession> BeginOpenFileDialog(const OpenFileRequest& r) override {
        return services_.BeginOpenFileDialog(r);
    }
    bool ShowNativeErrorBox(const std::string&, const std::string&) override { return false; }
    bool NotifyIcon(std::uint32_t message, const NotifyIconData& data) override;

private:
    void WaitForInput(std::int64_t deadlineMs);
    void HandleSignals();
    void DispatchAll();
    void Dispatch(XEvent& e);
    void DispatchButton(X11Window& w, const XButtonEvent& e);
    void DispatchMotion(X11Window& w, XMotionEvent e);
    X11Window* Find(Window id);
    TPoint Logical(TPoint screen) const;
    void TrayNotify(const NotifyIconData& record, std::intptr_t mouseMessage);
    static void OnDisplayLost(Display* display, void* self);

    DisplayPtr display_;
    std::unique_ptr<Atoms> atoms_;
    Context context_;
    std::unique_ptr<gui::TFontEngine> fonts_;
    SignalWatch signals_;
    X11Services services_;
    std::unique_ptr<X11Tray> tray_;
    std::map<Window, X11Window*> windows_;
    AppListener* app_ = nullptr;
    DoubleClickTracker doubleClicks_;
    std::string executable_ = ExecutableOfThisProcess();
};

X11Platform::X11Platform() : display_(XOpenDisplay(nullptr)) {
    if (!display_) throw std::runtime_error("cannot open the X display (is DISPLAY set?)");
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
        throw std::runtime_error("a 24-bit TrueColor display is needed");
    fonts_ = CreateFreeTypeFontEngine();
    tray_ = std::make_unique<X11Tray>(context_, *fonts_, [this](const NotifyIconData& r,
                                                                std::intptr_t m) {
        TrayNotify(r, m);
    });
    XSetIOErrorExitHandler(d, &X11Platform::OnDisplayLost, this);
    XSetErrorHandler(&IgnoreProtocolError);
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

void X11Platform::TrayNotify(const NotifyIconData& record, std::intptr_t mouseMessage) {
    if (app_) app_->NativeTrayMessage(record.hWnd, record.uCallbackMessage, record.uID, mouseMessage);
}

X11Platform::~X11Platform() = default;

std::int64_t X11Platform::NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::unique_ptr<NativeWindow> X11Platform::CreateNativeWindow(const WindowSpec& spec,
                                                              WindowListener& listener) {
    auto window = std::make_unique<X11Window>(context_, spec, listener);
    if (spec.Kind == WindowKind::Main && !context_.mainWindow) context_.mainWindow = window->Id();
    windows_[window->Id()] = window.get();
    // The map entry goes when the window does: wrap to unregister.
    struct Tracked final : NativeWindow {
        Tracked(std::unique_ptr<X11Window> w, std::map<Window, X11Window*>& registry)
            : inner(std::move(w)), windows(registry) {}
        ~Tracked() override { windows.erase(inner->Id()); }
        void SetBounds(const TRect& r) override { inner->SetBounds(r); }
        void SetVisible(bool v) override { inner->SetVisible(v); }
        void SetCaption(const std::string& c) override { inner->SetCaption(c); }
        void SetIcon(const gui::TIcon& i) override { inner->SetIcon(i); }
        void Present(const gui::TSurface& s, const TRect& r) override { inner->Present(s, r); }
        void BringToFront() override { inner->BringToFront(); }
        void HideTaskbarEntry() override { inner->HideTaskbarEntry(); }
        std::uintptr_t Handle() const override { return inner->Handle(); }
        int PixelScale() const override { return inner->PixelScale(); }
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

TRect X11Platform::ScreenRect() {
    return {0, 0, DisplayWidth(display_.get(), context_.screen) / context_.scale,
            DisplayHeight(display_.get(), context_.screen) / context_.scale};
}

TPoint X11Platform::Logical(TPoint screen) const {
    // Floor division, so that negative coordinates stay in their block.
    auto down = [s = context_.scale](int v) { return v >= 0 ? v / s : -((-v + s - 1) / s); };
    return {down(screen.X), down(screen.Y)};
}

bool X11Platform::NotifyIcon(std::uint32_t message, const NotifyIconData& data) {
    return tray_->Apply(message, data);
}

// ------------------------------------------------------------ the loop

void X11Platform::DeliverEvents(std::int64_t deadlineMs) {
    XFlush(display_.get());
    const std::int64_t tip = tray_->NextDeadline();
    if (tip >= 0 && (deadlineMs < 0 || tip < deadlineMs)) deadlineMs = tip;
    if (XPending(display_.get()) == 0) WaitForInput(deadlineMs);
    HandleSignals();
    DispatchAll();
    tray_->OnTime(NowMs());
}

void X11Platform::WaitForInput(std::int64_t deadlineMs) {
    std::vector<pollfd> fds{{ConnectionNumber(display_.get()), POLLIN, 0},
                            {signals_.Fd(), POLLIN, 0}};
    for (int fd : services_.WatchedFds()) fds.push_back({fd, POLLIN, 0});
    int timeout = -1;
    if (deadlineMs >= 0) timeout = int(std::max<std::int64_t>(0, deadlineMs - NowMs()));
    poll(fds.data(), fds.size(), timeout);
}

void X11Platform::HandleSignals() {
    while (int signal = signals_.Take()) {
        if (signal == SIGCHLD)
            services_.ReapChildren();
        else if (app_)
            app_->NativeSessionEnd();
    }
}

void X11Platform::DispatchAll() {
    while (XPending(display_.get()) > 0) {
        XEvent e;
        XNextEvent(display_.get(), &e);
        Dispatch(e);
    }
}

void X11Platform::Dispatch(XEvent& e) {
    if (tray_->IsTrayAnnouncement(e)) {
        if (app_) app_->NativeTrayRecreated();
        return;
    }
    if (tray_->HandleEvent(e, NowMs())) return;
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
        case ButtonRelease: DispatchButton(*w, e.xbutton); break;
        case MotionNotify: DispatchMotion(*w, e.xmotion); break;
        case EnterNotify:
            w->Listener().NativeMouse({MouseAction::Move, gui::mbLeft, ShiftOf(e.xcrossing.state),
                                       Logical({e.xcrossing.x_root, e.xcrossing.y_root})});
            break;
        case LeaveNotify:
            // Leaving during a grab still reports motion to us; only a
            // plain leave means the pointer is gone.
            if (e.xcrossing.mode == NotifyNormal && !(e.xcrossing.state & (Button1Mask | Button2Mask | Button3Mask)))
                w->Listener().NativeMouse({MouseAction::Leave, gui::mbLeft, 0, {}});
            break;
        case ClientMessage:
            if (e.xclient.message_type == atoms_->WM_PROTOCOLS &&
                Atom(e.xclient.data.l[0]) == atoms_->WM_DELETE_WINDOW)
                w->Listener().NativeCloseRequest();
            break;
        default: break;
    }
}

void X11Platform::DispatchButton(X11Window& w, const XButtonEvent& e) {
    const auto button = ButtonOf(e.button);
    if (!button) return;
    MouseInput input{MouseAction::Up, *button, ShiftOf(e.state), Logical({e.x_root, e.y_root})};
    if (e.type == ButtonPress) {
        const bool dbl = doubleClicks_.Press(*button, {e.x_root, e.y_root}, w.Id(),
                                             std::int64_t(e.time));
        input.Action = dbl ? MouseAction::DoubleClick : MouseAction::Down;
    }
    w.Listener().NativeMouse(input);
}

void X11Platform::DispatchMotion(X11Window& w, XMotionEvent e) {
    // Merge queued motion: only the newest position matters.
    XEvent next;
    while (XCheckTypedWindowEvent(display_.get(), w.Id(), MotionNotify, &next)) e = next.xmotion;
    w.Listener().NativeMouse({MouseAction::Move, gui::mbLeft, ShiftOf(e.state), Logical({e.x_root, e.y_root})});
}

}  // namespace
}  // namespace x11

std::unique_ptr<Platform> CreateX11Platform() { return std::make_unique<x11::X11Platform>(); }

}  // namespace platform
