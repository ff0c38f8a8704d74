#include "platform/wayland/WaylandPlatform.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "i18n/Messages.h"
#include "platform/freetype/FreeTypeFontEngine.h"
#include "platform/wayland/WaylandDropTarget.h"
#include "platform/wayland/WaylandHandles.h"
#include "platform/wayland/WaylandOutputs.h"
#include "platform/wayland/WaylandSeat.h"
#include "platform/wayland/WaylandWindow.h"
#include "platform/xdg/tray/NotifyAreaRouter.h"
#include "platform/xdg/RunningCopySocket.h"
#include "platform/xdg/tray/StatusNotifierArea.h"
#include "platform/xdg/DesktopServices.h"

namespace platform {

namespace wayland {
namespace {

std::string ExecutableOfThisProcess() {
    std::error_code ec;
    auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("sorimo") : path.string();
}

// Wayland has no XEmbed tray: icons go to StatusNotifierItems or nowhere.
class NoTray final : public xdg::NotifyService {
public:
    void Show(const NotifyIconData&) override {}
    void Update(const NotifyIconData&) override {}
    void Remove(std::uint32_t) override {}
};

// The globals the backend binds.
struct Globals {
    Owned<wl_compositor> compositor;
    Owned<wl_shm> shm;
    Owned<zwlr_layer_shell_v1> layerShell;
    Owned<zxdg_output_manager_v1> outputManager;
    Owned<wl_data_device_manager> dataDevices;
    std::uint32_t seatName = 0;
    Owned<wl_seat> seat;
};

class WaylandPlatform final : public Platform {
public:
    WaylandPlatform(Owned<wl_display> display);
    ~WaylandPlatform() override;

    // Takes the signal watch once the compositor has proved usable.
    void TakeSignals(std::unique_ptr<posix::SignalWatch> signals) { signals_ = std::move(signals); }

    std::int64_t NowMs() override;
    bool InputPending() override;
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
        if (ending_) return std::nullopt;
        return services_.FileIcon(path);
    }
    std::unique_ptr<FileDialogSession> BeginOpenFileDialog(const OpenFileRequest& r) override {
        return services_.BeginOpenFileDialog(r);
    }
    bool ShowNativeErrorBox(const std::string&, const std::string&) override { return false; }
    bool NotifyIcon(std::uint32_t message, const NotifyIconData& data) override;
    bool BecomeRunningCopy(StartRequest request) override;

    // Registry events.
    void Global(wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version);
    void GlobalRemoved(std::uint32_t name);

private:
    void Post(std::uintptr_t window, std::function<void(WaylandWindow&)> call);
    WaylandWindow* Find(wl_surface* surface) const;
    bool ReadWayland(int timeoutMs, std::vector<pollfd>* extra);
    void Flush();
    void WaitForInput(std::int64_t deadlineMs);
    void DeliverQueued();
    void HandleSignals();
    void HandleSignalsDuringStartUp();
    void HandleStartRequests();
    void CheckMonitors();
    void FinishTrayTurn();
    [[noreturn]] void ConnectionLost();

    std::unique_ptr<posix::SignalWatch> signals_;
    bool looping_ = false;
    bool ending_ = false;
    Owned<wl_display> display_;
    Owned<wl_registry> registry_;
    Globals globals_;
    bool outputsChanged_ = false;
    WaylandOutputs outputs_{[this] { outputsChanged_ = true; }};
    Context context_;
    std::unique_ptr<WaylandSeat> seat_;
    std::unique_ptr<WaylandDropTarget> drops_;
    std::unique_ptr<gfx::TFontEngine> fonts_;
    xdg::DesktopServices services_;
    NoTray noTray_;
    std::unique_ptr<xdg::StatusNotifierArea> items_;
    std::unique_ptr<xdg::NotifyAreaRouter> area_;
    bool mainShown_ = false;
    std::optional<std::vector<TRect>> knownMonitors_;
    std::unique_ptr<xdg::RunningCopySocket> runningCopy_;
    std::map<std::uintptr_t, WaylandWindow*> windows_;
    std::map<wl_surface*, WaylandWindow*> surfaces_;
    std::uintptr_t nextId_ = 1;
    // Calls into the GUI layer, in the order the compositor's events came.
    std::deque<std::pair<std::uintptr_t, std::function<void(WaylandWindow&)>>> queue_;
    AppListener* app_ = nullptr;
    std::string executable_ = ExecutableOfThisProcess();
};

void OnGlobal(void* self, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t version) {
    static_cast<WaylandPlatform*>(self)->Global(registry, name, interface, version);
}
void OnGlobalRemove(void* self, wl_registry*, std::uint32_t name) {
    static_cast<WaylandPlatform*>(self)->GlobalRemoved(name);
}
const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

template <class T>
T* Bind(wl_registry* registry, std::uint32_t name, const wl_interface& interface, std::uint32_t offered,
        std::uint32_t wanted) {
    return static_cast<T*>(wl_registry_bind(registry, name, &interface, std::min(offered, wanted)));
}

WaylandPlatform::WaylandPlatform(Owned<wl_display> display) : display_(std::move(display)) {
    registry_.reset(wl_display_get_registry(display_.get()));
    wl_registry_add_listener(registry_.get(), &kRegistryListener, this);
    // The globals first.
    if (wl_display_roundtrip(display_.get()) < 0)
        throw WaylandUnavailable("the Wayland compositor closed the connection");
    if (!globals_.layerShell)
        throw WaylandUnavailable("the Wayland compositor offers no layer shell (zwlr_layer_shell_v1)");
    if (!globals_.compositor || !globals_.shm)
        throw WaylandUnavailable("the Wayland compositor offers no wl_compositor or wl_shm");
    context_.display = display_.get();
    context_.compositor = globals_.compositor.get();
    context_.shm = globals_.shm.get();
    context_.layerShell = globals_.layerShell.get();
    context_.outputs = &outputs_;
    context_.attach = [this](wl_surface* s, WaylandWindow* w) { surfaces_[s] = w; };
    context_.detach = [this](wl_surface* s) {
        surfaces_.erase(s);
        if (seat_) seat_->Forget(s);
    };
    context_.post = [this](std::uintptr_t w, std::function<void(WaylandWindow&)> call) {
        Post(w, std::move(call));
    };
    context_.shown = [this](WindowKind kind) {
        if (kind == WindowKind::Main) mainShown_ = true;
    };
    if (globals_.seat)
        seat_ = std::make_unique<WaylandSeat>(context_, globals_.seat.release(),
                                              [this](wl_surface* s) { return Find(s); });
    if (seat_ && globals_.dataDevices)
        drops_ = std::make_unique<WaylandDropTarget>(context_, globals_.dataDevices.get(), seat_->Proxy(),
                                                     [this](wl_surface* s) { return Find(s); });
    // Then what they tell at once: the outputs' places and scales, and the
    // seat's pointer and keyboard, which it names only once, right after it
    // was bound. Its listener must be there by then, or a desktop whose
    // devices were there before the program gives it no input at all.
    if (wl_display_roundtrip(display_.get()) < 0)
        throw WaylandUnavailable("the Wayland compositor closed the connection");
    fonts_ = CreateFreeTypeFontEngine();
    auto notify = [this](const NotifyIconData& r, std::intptr_t m, TPoint p) {
        if (app_) app_->NativeTrayMessage(r.hWnd, r.uCallbackMessage, r.uID, m, p);
    };
    items_ = std::make_unique<xdg::StatusNotifierArea>(services_.Gio(), notify);
    area_ = std::make_unique<xdg::NotifyAreaRouter>(*items_, noTray_);
    area_->SetTray(false);
    area_->SetWatcher(items_->State());
    outputsChanged_ = false;
}

// The items go before the router's tray and the router before both; the
// seat before the globals it uses.
WaylandPlatform::~WaylandPlatform() {
    area_.reset();
    items_.reset();
    drops_.reset();
    seat_.reset();
    Flush();
}

void WaylandPlatform::Global(wl_registry* registry, std::uint32_t name, const char* interface,
                             std::uint32_t version) {
    const std::string_view is(interface);
    if (is == wl_compositor_interface.name) {
        globals_.compositor.reset(Bind<wl_compositor>(registry, name, wl_compositor_interface, version, 4));
    } else if (is == wl_shm_interface.name) {
        globals_.shm.reset(Bind<wl_shm>(registry, name, wl_shm_interface, version, 1));
    } else if (is == zwlr_layer_shell_v1_interface.name) {
        globals_.layerShell.reset(
            Bind<zwlr_layer_shell_v1>(registry, name, zwlr_layer_shell_v1_interface, version, 4));
    } else if (is == zxdg_output_manager_v1_interface.name) {
        globals_.outputManager.reset(
            Bind<zxdg_output_manager_v1>(registry, name, zxdg_output_manager_v1_interface, version, 3));
        outputs_.SetManager(globals_.outputManager.get());
    } else if (is == wl_data_device_manager_interface.name) {
        globals_.dataDevices.reset(
            Bind<wl_data_device_manager>(registry, name, wl_data_device_manager_interface, version, 3));
    } else if (is == wl_output_interface.name) {
        outputs_.Add(registry, name, version);
    } else if (is == wl_seat_interface.name && !globals_.seat && !seat_) {
        globals_.seatName = name;
        globals_.seat.reset(Bind<wl_seat>(registry, name, wl_seat_interface, version, 5));
    }
}

void WaylandPlatform::GlobalRemoved(std::uint32_t name) { outputs_.Remove(name); }

std::int64_t WaylandPlatform::NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::unique_ptr<NativeWindow> WaylandPlatform::CreateNativeWindow(const WindowSpec& spec,
                                                                  WindowListener& listener) {
    HandleSignalsDuringStartUp();
    const std::uintptr_t id = nextId_++;
    auto window = std::make_unique<WaylandWindow>(context_, spec, listener, id);
    windows_[id] = window.get();
    // The registry entry goes when the window does.
    struct Tracked final : NativeWindow {
        Tracked(std::unique_ptr<WaylandWindow> w, std::map<std::uintptr_t, WaylandWindow*>& registry)
            : inner(std::move(w)), windows(registry) {}
        ~Tracked() override { windows.erase(inner->Handle()); }
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
        std::unique_ptr<WaylandWindow> inner;
        std::map<std::uintptr_t, WaylandWindow*>& windows;
    };
    return std::make_unique<Tracked>(std::move(window), windows_);
}

WaylandWindow* WaylandPlatform::Find(wl_surface* surface) const {
    auto it = surfaces_.find(surface);
    return it == surfaces_.end() ? nullptr : it->second;
}

void WaylandPlatform::Post(std::uintptr_t window, std::function<void(WaylandWindow&)> call) {
    queue_.emplace_back(window, std::move(call));
}

// Wayland tells no pointer position outside our surfaces: the last one seen
// over them, else the middle of the primary output.
TPoint WaylandPlatform::CursorPos() {
    if (seat_ && seat_->LastPoint()) return *seat_->LastPoint();
    const TRect screen = ScreenRect();
    return {(screen.Left + screen.Right) / 2, (screen.Top + screen.Bottom) / 2};
}

std::vector<TRect> WaylandPlatform::Monitors() {
    std::vector<TRect> rects = outputs_.Rects();
    // Until an output is described (a compositor without any): a screen of
    // the classic size, so that windows have somewhere to be.
    if (rects.empty()) rects.push_back({0, 0, 1024, 768});
    if (!knownMonitors_) knownMonitors_ = rects;
    return rects;
}

void WaylandPlatform::CheckMonitors() {
    if (!outputsChanged_) return;
    outputsChanged_ = false;
    for (auto& [id, window] : windows_) window->OutputsChanged();
    if (!knownMonitors_) return;
    std::vector<TRect> now = outputs_.Rects();
    if (now.empty() || now == *knownMonitors_) return;
    knownMonitors_ = std::move(now);
    if (app_) app_->NativeMonitorsChanged();
}

bool WaylandPlatform::NotifyIcon(std::uint32_t message, const NotifyIconData& data) {
    HandleSignalsDuringStartUp();
    return area_->Apply(message, data);
}

bool WaylandPlatform::BecomeRunningCopy(StartRequest request) {
    return xdg::ClaimRunningCopy(runningCopy_, SettingsFile(),
                                 request == StartRequest::Toggle ? "toggle" : "activate");
}

// A request may carry a start time after a blank (from an X11 start): only
// its word counts here.
void WaylandPlatform::HandleStartRequests() {
    if (!runningCopy_) return;
    for (const std::string& message : runningCopy_->TakeMessages()) {
        const std::string word = message.substr(0, message.find(' '));
        if (!app_) continue;
        if (word == "activate") app_->NativeStartRequest(StartRequest::Activate);
        if (word == "toggle") app_->NativeStartRequest(StartRequest::Toggle);
    }
}

// ------------------------------------------------------------ the loop

void WaylandPlatform::Flush() {
    // A full socket takes the rest at the next turn (poll waits for it).
    wl_display_flush(display_.get());
}

// The compositor ended or closed the connection (on a protocol error it
// says which): save what the program holds and end.
[[noreturn]] void WaylandPlatform::ConnectionLost() {
    const int error = wl_display_get_error(display_.get());
    std::fprintf(stderr, "sorimo: %s\n",
                 i18n::Format(i18n::Tr("The Wayland connection was lost (%s)."), {std::strerror(error)}).c_str());
    if (app_) app_->NativeSessionEnd();
    _exit(0);
}

// Reads what the compositor sent, waiting up to `timeoutMs` (-1: without
// end) for it or for one of `extra`. Returns whether events were read.
bool WaylandPlatform::ReadWayland(int timeoutMs, std::vector<pollfd>* extra) {
    wl_display* d = display_.get();
    while (wl_display_prepare_read(d) != 0)
        if (wl_display_dispatch_pending(d) < 0) ConnectionLost();
    Flush();
    std::vector<pollfd> fds{{wl_display_get_fd(d), POLLIN, 0}};
    if (extra) fds.insert(fds.end(), extra->begin(), extra->end());
    if (extra && items_) items_->Prepare(fds, timeoutMs);
    const int ready = poll(fds.data(), fds.size(), timeoutMs);
    const bool readable = ready > 0 && (fds[0].revents & (POLLIN | POLLERR | POLLHUP));
    if (readable) {
        if (wl_display_read_events(d) < 0) ConnectionLost();
    } else {
        wl_display_cancel_read(d);
    }
    if (wl_display_dispatch_pending(d) < 0) ConnectionLost();
    if (extra && items_) items_->Dispatch(fds);
    return readable;
}

bool WaylandPlatform::InputPending() {
    if (wl_display_dispatch_pending(display_.get()) < 0) ConnectionLost();
    if (queue_.empty()) ReadWayland(0, nullptr);
    return !queue_.empty();
}

void WaylandPlatform::DeliverEvents(std::int64_t deadlineMs) {
    looping_ = true;
    if (wl_display_dispatch_pending(display_.get()) < 0) ConnectionLost();
    if (drops_ && drops_->NextDeadline() >= 0 && (deadlineMs < 0 || drops_->NextDeadline() < deadlineMs))
        deadlineMs = drops_->NextDeadline();
    if (queue_.empty())
        WaitForInput(deadlineMs);
    else
        items_->DispatchReady();
    if (drops_) {
        drops_->OnReadable();
        drops_->OnTime(NowMs());
    }
    HandleSignals();
    HandleStartRequests();
    DeliverQueued();
    CheckMonitors();
    FinishTrayTurn();
    Flush();
}

void WaylandPlatform::WaitForInput(std::int64_t deadlineMs) {
    std::vector<pollfd> extra{{signals_->Fd(), POLLIN, 0}};
    for (int fd : services_.WatchedFds()) extra.push_back({fd, POLLIN, 0});
    if (runningCopy_ && runningCopy_->Fd() >= 0) extra.push_back({runningCopy_->Fd(), POLLIN, 0});
    if (drops_ && drops_->Fd() >= 0) extra.push_back({drops_->Fd(), POLLIN, 0});
    int timeout = -1;
    if (deadlineMs >= 0) timeout = int(std::max<std::int64_t>(0, deadlineMs - NowMs()));
    ReadWayland(timeout, &extra);
}

// Each call runs on its window if the window is still there; a call may run
// a nested loop, which takes the later ones itself.
void WaylandPlatform::DeliverQueued() {
    while (!queue_.empty()) {
        auto [id, call] = std::move(queue_.front());
        queue_.pop_front();
        auto it = windows_.find(id);
        if (it != windows_.end()) call(*it->second);
    }
}

void WaylandPlatform::FinishTrayTurn() {
    if (mainShown_) items_->Start();
    area_->SetWatcher(items_->State());
    area_->Reconcile();
    if (!app_) return;
    if (area_->TakeLost()) app_->NativeTrayLost();
    if (area_->TakeAppeared()) app_->NativeTrayRecreated();
}

void WaylandPlatform::HandleSignals() {
    while (int signal = signals_->Take()) {
        if (signal == SIGCHLD) {
            services_.ReapChildren();
        } else if (app_) {
            ending_ = true;
            app_->NativeSessionEnd();
        }
    }
}

void WaylandPlatform::HandleSignalsDuringStartUp() {
    if (!looping_ && !ending_ && app_ && signals_) HandleSignals();
}

}  // namespace
}  // namespace wayland

std::unique_ptr<Platform> CreateWaylandPlatform(std::unique_ptr<posix::SignalWatch>& signals) {
    wayland::Owned<wl_display> display(wl_display_connect(nullptr));
    if (!display) throw WaylandUnavailable("cannot connect to the Wayland compositor (is WAYLAND_DISPLAY set?)");
    auto platform = std::make_unique<wayland::WaylandPlatform>(std::move(display));
    platform->TakeSignals(std::move(signals));
    return platform;
}

}  // namespace platform
