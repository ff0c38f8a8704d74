#include "platform/win32/Win32Platform.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "settings/SettingsFileName.h"
#include "platform/gdi/GdiFontEngine.h"
#include "platform/win32/ModalTicks.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32RunningCopy.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemColors.h"
#include "platform/win32/Win32Tray.h"
#include "platform/win32/Win32Window.h"

namespace platform {
namespace win32 {
namespace {

// An open-file dialog that was a blocking call: finished when it is begun.
class FinishedDialog final : public FileDialogSession {
public:
    explicit FinishedDialog(std::optional<std::string> result) : result_(std::move(result)) {}
    bool Finished() override { return true; }
    std::optional<std::string> Result() override { return result_; }

private:
    std::optional<std::string> result_;
};

std::string ModulePath() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), DWORD(path.size()));
        if (length < path.size()) return std::string(path.data(), length);
        path.resize(path.size() * 2);
    }
}

class Win32Platform final : public Platform {
public:
    std::int64_t NowMs() override { return std::int64_t(::GetTickCount64()); }
    bool InputPending() override { return HIWORD(::GetQueueStatus(QS_ALLINPUT)) != 0; }
    void DeliverEvents(std::int64_t deadlineMs) override;
    void SetAppListener(AppListener* listener) override { app_ = listener; }
    std::unique_ptr<NativeWindow> CreateNativeWindow(const WindowSpec& spec,
                                                     WindowListener& listener) override;
    TPoint CursorPos() override;
    TRect ScreenRect() override { return Monitors().front(); }
    std::vector<TRect> Monitors() override;
    gfx::TFontEngine& Fonts() override { return *fonts_; }
    const gfx::TSystemColors& SystemColors() override { return colors_; }
    std::string ExecutablePath() override { return executable_; }
    std::string SettingsFile() override { return settings::SettingsFileName(executable_, "\\:"); }
    int ShellOpen(const ShellOpenRequest& request) override { return win32::ShellOpen(request); }
    std::optional<gfx::TIcon> FileIcon(const std::string& path) override {
        return win32::FileIcon(path);
    }
    std::unique_ptr<FileDialogSession> BeginOpenFileDialog(const OpenFileRequest& request) override;
    bool ShowNativeErrorBox(const std::string& title, const std::string& message) override;
    bool NotifyIcon(std::uint32_t message, const NotifyIconData& data) override {
        return tray_.Apply(message, data);
    }
    bool BecomeRunningCopy(StartRequest request) override { return runningCopy_.Claim(request); }

private:
    static LRESULT CALLBACK HiddenProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnHiddenMessage(UINT message, WPARAM wParam, LPARAM lParam);
    HWND MakeHiddenWindow();
    HWND OwnerFor(WindowKind kind) const;

    std::string executable_ = ModulePath();
    ComApartment com_;
    WindowClass formClass_{L"SorimoForm", &Win32Window::Procedure, CS_DBLCLKS};
    WindowClass hiddenClass_{L"SorimoHidden", &Win32Platform::HiddenProcedure, 0};
    // Never shown: the owner of the forms, the address of the tray's
    // callbacks and of the modal ticks, and a top-level window that hears
    // the broadcasts (TaskbarCreated, WM_DISPLAYCHANGE, WM_ENDSESSION), and
    // the address of later starts' requests.
    WindowHandle hidden_{MakeHiddenWindow()};
    // Before anything that may send the hidden window a message.
    Win32RunningCopy runningCopy_{hidden_.Get(), hiddenClass_.Name(), SettingsFile()};
    UINT taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    std::unique_ptr<gfx::TFontEngine> fonts_ = CreateGdiFontEngine();
    Win32SystemColors colors_;
    Win32Tray tray_{hidden_.Get()};
    ModalTicks ticks_{hidden_.Get(), [this] { return NowMs(); }};
    AppListener* app_ = nullptr;
    HWND mainWindow_ = nullptr;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoW(monitor, &info)) return TRUE;
    auto& list = *reinterpret_cast<std::vector<TRect>*>(data);
    const RECT& r = info.rcMonitor;
    const TRect rect{int(r.left), int(r.top), int(r.right), int(r.bottom)};
    if (info.dwFlags & MONITORINFOF_PRIMARY)
        list.insert(list.begin(), rect);
    else
        list.push_back(rect);
    return TRUE;
}

HWND Win32Platform::MakeHiddenWindow() {
    HWND hwnd = ::CreateWindowExW(WS_EX_TOOLWINDOW, hiddenClass_.Name(), L"", WS_POPUP, 0, 0, 0,
                                  0, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
    if (!hwnd) throw std::runtime_error("CreateWindowExW failed for the hidden window");
    return hwnd;
}

LRESULT CALLBACK Win32Platform::HiddenProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32Platform*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    // The platform is still being made while the window is created.
    if (!self || self->hidden_.Get() != hwnd) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return self->OnHiddenMessage(message, wParam, lParam);
}

LRESULT Win32Platform::OnHiddenMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && ticks_.OnTimer(wParam, app_)) return 0;
    if (tray_.Route(message, wParam, lParam, app_)) return 0;
    if (message == taskbarCreated_) {
        // Explorer restarted: the icons are gone and must be added again.
        if (app_) app_->NativeTrayRecreated();
        return 0;
    }
    if (message == WM_DISPLAYCHANGE) {
        // Reaches every top-level window when monitors come, go or change.
        if (app_) app_->NativeMonitorsChanged();
        return 0;
    }
    if (message == runningCopy_.Message()) {
        if (app_) app_->NativeStartRequest(Win32RunningCopy::RequestOf(wParam));
        return 0;
    }
    if (message == WM_ENDSESSION) {
        // The session ends once this returns: save now.
        if (wParam && app_) app_->NativeSessionEnd();
        return 0;
    }
    return ::DefWindowProcW(hidden_.Get(), message, wParam, lParam);
}

// ------------------------------------------------------------ the loop

void Win32Platform::DeliverEvents(std::int64_t deadlineMs) {
    MSG msg;
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        DWORD timeout = INFINITE;
        if (deadlineMs >= 0)
            timeout = DWORD(std::clamp<std::int64_t>(deadlineMs - NowMs(), 0, INFINITE - 1));
        ::MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

// ------------------------------------------------------------ windows

HWND Win32Platform::OwnerFor(WindowKind kind) const {
    // Dialogs and the hint stay above the launcher; the launcher itself is
    // owned by the hidden window, which keeps it off the taskbar.
    if (kind != WindowKind::Main && mainWindow_ && ::IsWindow(mainWindow_)) return mainWindow_;
    return hidden_.Get();
}

std::unique_ptr<NativeWindow> Win32Platform::CreateNativeWindow(const WindowSpec& spec,
                                                                WindowListener& listener) {
    auto window = std::make_unique<Win32Window>(formClass_, spec, listener, OwnerFor(spec.Kind));
    if (spec.Kind == WindowKind::Main && !(mainWindow_ && ::IsWindow(mainWindow_)))
        mainWindow_ = window->Hwnd();
    return window;
}

TPoint Win32Platform::CursorPos() {
    POINT p{};
    ::GetCursorPos(&p);
    return {int(p.x), int(p.y)};
}

std::vector<TRect> Win32Platform::Monitors() {
    std::vector<TRect> monitors;  // the primary first
    ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty())
        monitors.push_back({0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
    return monitors;
}

// ------------------------------------------------------------ modal calls

std::unique_ptr<FileDialogSession> Win32Platform::BeginOpenFileDialog(const OpenFileRequest& request) {
    ModalTicks::Scope ticking(ticks_);
    return std::make_unique<FinishedDialog>(AskOpenFile(request));
}

bool Win32Platform::ShowNativeErrorBox(const std::string& title, const std::string& message) {
    ModalTicks::Scope ticking(ticks_);
    ShowErrorBox(title, message);
    return true;
}

}  // namespace
}  // namespace win32

std::unique_ptr<Platform> CreateWin32Platform() { return std::make_unique<win32::Win32Platform>(); }

}  // namespace platform
