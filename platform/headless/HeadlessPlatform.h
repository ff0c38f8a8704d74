// The headless backend: a complete platform in memory, for tests and the
// render tool. It has a virtual screen and a virtual clock that only moves
// when the loop would otherwise wait, synthetic mouse input at screen
// points, per-window snapshots of the presented pixels, scripted answers for
// the shell, the icon lookup and the open-file dialog, and recorders of the
// notification area and the error box. Monitors are set by the test (one
// screen of 1024 x 768 by default); copies of the program on platforms that
// share their running-copy registry see each other.
//
// Waiting: when the loop waits with nothing pending, the earliest scripted
// step (At) or the loop's deadline, whichever comes first, moves the clock;
// a wait with neither is a test that forgot to script its input and throws.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/common/DoubleClickTracker.h"

namespace platform {

class HeadlessWindow;

class HeadlessPlatform final : public Platform {
public:
    HeadlessPlatform();
    ~HeadlessPlatform() override;

    // ---- Platform
    std::int64_t NowMs() override { return now_; }
    bool InputPending() override { return !pending_.empty(); }
    void DeliverEvents(std::int64_t deadlineMs) override;
    void SetAppListener(AppListener* listener) override { app_ = listener; }
    std::unique_ptr<NativeWindow> CreateNativeWindow(const WindowSpec& spec,
                                                     WindowListener& listener) override;
    TPoint CursorPos() override { return pointer_; }
    TRect ScreenRect() override { return monitors_.front(); }
    std::vector<TRect> Monitors() override { return monitors_; }
    gfx::TFontEngine& Fonts() override;
    const gfx::TSystemColors& SystemColors() override;
    std::string ExecutablePath() override { return executablePath_; }
    std::string SettingsFile() override;
    int ShellOpen(const ShellOpenRequest& request) override;
    std::optional<gfx::TIcon> FileIcon(const std::string& path) override;
    std::unique_ptr<FileDialogSession> BeginOpenFileDialog(const OpenFileRequest& request) override;
    bool ShowNativeErrorBox(const std::string& title, const std::string& message) override;
    bool NotifyIcon(std::uint32_t message, const NotifyIconData& data) override;
    bool BecomeRunningCopy(StartRequest request) override;

    // ---- set-up
    // One monitor.
    void SetScreen(TRect screen) { monitors_ = {screen}; }
    // Several monitors, the primary first (at least one), without telling
    // the program: for the layout at start-up.
    void SetMonitors(std::vector<TRect> monitors);
    // A layout change while the program runs: the monitors become these and
    // the program hears of it with the next delivered events.
    void ChangeMonitors(std::vector<TRect> monitors);
    // This platform's program and `other`'s are copies of one program on
    // one desktop: each sees the other's claim of a settings file.
    void ShareRunningCopiesWith(HeadlessPlatform& other);
    void SetExecutablePath(std::string path) { executablePath_ = std::move(path); }
    // Shell results: by path, else the default rule (>= 32 when the file
    // exists on disk, 2 "file not found" otherwise).
    std::map<std::string, int> ShellResults;
    // Icons by path; a path not listed has no icon. A listed path mapped to
    // an exception message throws it from the lookup.
    std::map<std::string, gfx::TIcon> Icons;
    std::map<std::string, std::string> IconFaults;
    // Called at each icon lookup before it is answered.
    std::function<void(const std::string& path)> OnIconLookup;
    // Called whenever the program asks for its settings file's name: lets
    // a test act in the middle of start-up, as the launcher reads them.
    std::function<void()> OnSettingsFile;
    // The next answers of the open-file dialog, in order: the chosen path or
    // nothing for cancel, after the given virtual delay.
    void ScriptOpenDialog(std::optional<std::string> answer, int delayMs = 0);
    // What the notification area answers to adds and modifications
    // (false: there is none); deletes always succeed.
    bool NotifyIconResult = true;
    // A window manager that places main windows itself: set, it puts each
    // main window's top-left corner here, carries out none of the program's
    // moves, and moves the window itself with the pointer (until the left
    // button is released) when asked to with BeginSystemMove. That release
    // reaches the program later, where the pointer next moves over one of
    // its windows, as Xwayland hands it out.
    std::optional<TPoint> ManagerPlace;
    // How often a drag was handed to that manager.
    int SystemMoves = 0;
    // Whether error boxes are the platform's (recorded only) or, as on X11,
    // the GUI layer's own window (recorded too).
    bool HasNativeErrorBox = true;

    // ---- virtual time and scripted steps
    void At(std::int64_t timeMs, std::function<void()> step);
    void After(std::int64_t delayMs, std::function<void()> step) { At(now_ + delayMs, std::move(step)); }
    void SetNow(std::int64_t ms) { now_ = ms; }
    std::uint64_t TimerWakeups() const { return timerWakeups_; }
    std::uint64_t StepWakeups() const { return stepWakeups_; }

    // ---- synthetic input (screen coordinates), delivered by the next
    // DeliverEvents like native events
    void MoveTo(int x, int y);
    void Press(gfx::TMouseButton button);
    void Release(gfx::TMouseButton button);
    void Click(gfx::TMouseButton button, int x, int y);
    void DoubleClick(gfx::TMouseButton button, int x, int y);
    void SendCloseRequest(std::uintptr_t window);
    void SendTrayMessage(std::uint32_t uID, std::intptr_t mouseMessage);
    void SendTrayRecreated();
    // The notification area went away (the icons it showed are gone).
    void SendTrayLost();
    void SendSessionEnd();
    // The session ends now, from within whatever call is running: what the
    // X11 backend does with a termination signal taken during start-up.
    void EndSessionNow() {
        if (app_) app_->NativeSessionEnd();
    }

    // A key pressed in the window that has the focus: the topmost visible
    // one that is not a hint.
    void PressKey(Key key, gfx::TShiftState shift = 0);
    gfx::TShiftState Buttons() const { return buttons_; }
    // Files dragged from another program: over a screen point (a window
    // left behind hears a leave), away from every window, or dropped at the
    // last point. `onlyFiles` false stands for a drop that carried something
    // other than local files.
    void DragTo(int x, int y);
    void DragAway();
    void Drop(std::vector<std::string> files, bool onlyFiles = true);

    // ---- records
    struct ShellCall {
        ShellOpenRequest Request;
        int Result;
    };
    std::vector<ShellCall> ShellCalls;
    std::vector<std::string> IconLookups;
    std::vector<OpenFileRequest> DialogRequests;
    struct ErrorBox {
        std::string Title;
        std::string Message;
    };
    std::vector<ErrorBox> ErrorBoxes;
    struct NotifyCall {
        std::uint32_t Message;
        NotifyIconData Data;
        bool Result;
    };
    std::vector<NotifyCall> NotifyCalls;
    // The windows' answers to drag notices, in the order given.
    struct DragAnswer {
        DragAction Action;
        bool Accepted;
    };
    std::vector<DragAnswer> DragAnswers;
    // Every distinct font asked of the font engine, in the order first asked.
    std::vector<gfx::TFontSpec> FontsOpened;

    // ---- windows
    std::vector<HeadlessWindow*> Windows() const { return windows_; }
    HeadlessWindow* WindowByCaption(const std::string& caption) const;
    HeadlessWindow* WindowByHandle(std::uintptr_t handle) const;
    // The topmost visible window at a screen point.
    HeadlessWindow* WindowAt(TPoint screen) const;
    // What the screen shows: every visible window's presented pixels, in
    // z-order, over `background`.
    gfx::TSurface Screenshot(gfx::TPixel background = 0x000000) const;

private:
    friend class HeadlessWindow;
    void WindowDestroyed(HeadlessWindow* w);
    void Raise(HeadlessWindow* w);
    void Queue(std::function<void()> event) { pending_.push_back(std::move(event)); }
    void ManagerMoves(HeadlessWindow* w, TPoint topLeft);
    void DeliverPending();
    bool RunNextStep(std::int64_t deadlineMs);
    void SendMouse(MouseAction action, gfx::TMouseButton button);
    HeadlessWindow* InputWindow() const;
    DragInput DragNotice(DragAction action);
    HeadlessWindow* FocusWindow() const;

    struct Step {
        std::int64_t Time;
        std::uint64_t Order;
        std::function<void()> Run;
    };
    struct DialogAnswer {
        std::optional<std::string> Path;
        int DelayMs;
    };

    // Which platform's program runs for each settings file.
    struct RunningCopies {
        std::map<std::string, HeadlessPlatform*> BySettingsFile;
    };

    std::int64_t now_ = 0;
    std::vector<TRect> monitors_{{0, 0, 1024, 768}};
    std::shared_ptr<RunningCopies> copies_ = std::make_shared<RunningCopies>();
    std::string executablePath_ = "/opt/sorimo/sorimo";
    AppListener* app_ = nullptr;
    std::unique_ptr<gfx::TFontEngine> fonts_;
    std::deque<std::function<void()>> pending_;
    std::vector<Step> steps_;
    std::uint64_t stepOrder_ = 0;
    std::deque<DialogAnswer> dialogAnswers_;
    std::uint64_t timerWakeups_ = 0;
    std::uint64_t stepWakeups_ = 0;
    std::vector<HeadlessWindow*> windows_;  // z-order, topmost last
    std::uintptr_t nextHandle_ = 0x100;
    TPoint pointer_{};
    gfx::TShiftState buttons_ = 0;
    HeadlessWindow* grab_ = nullptr;
    HeadlessWindow* hover_ = nullptr;
    HeadlessWindow* dragOver_ = nullptr;
    HeadlessWindow* systemMove_ = nullptr;  // moved by the manager with the pointer
    TPoint systemMoveOffset_{};             // the pointer within it
    bool releaseOwed_ = false;              // the release that ended it, not yet handed out
    TPoint dragPoint_{};
    DoubleClickTracker doubleClicks_;
};

class HeadlessWindow final : public NativeWindow {
public:
    HeadlessWindow(HeadlessPlatform& platform, const WindowSpec& spec, WindowListener& listener,
                   std::uintptr_t handle);
    ~HeadlessWindow() override;

    void SetBounds(const TRect& screenRect) override;
    void SetVisible(bool visible) override;
    void SetCaption(const std::string& caption) override { caption_ = caption; }
    void SetIcon(const gfx::TIcon& icon) override { icon_ = icon; }
    void Present(const gfx::TSurface& backBuffer, const TRect& area) override;
    void BringToFront() override;
    void HideTaskbarEntry() override { ++taskbarHides_; }
    std::uintptr_t Handle() const override { return handle_; }
    int PixelScale() const override { return 1; }
    bool BeginSystemMove(const TPoint& screen) override;
    void CancelSystemMove() override { platform_.systemMove_ = nullptr; }

    WindowKind Kind() const { return kind_; }
    TRect Bounds() const { return bounds_; }
    bool Visible() const { return visible_; }
    const std::string& Caption() const { return caption_; }
    const gfx::TIcon& Icon() const { return icon_; }
    int TaskbarHides() const { return taskbarHides_; }
    int Presents() const { return presents_; }
    // The pixels last presented, at the window's size.
    const gfx::TSurface& Snapshot() const { return presented_; }
    WindowListener& Listener() { return listener_; }

private:
    friend class HeadlessPlatform;
    HeadlessPlatform& platform_;
    WindowListener& listener_;
    std::uintptr_t handle_;
    WindowKind kind_;
    TRect bounds_;
    std::string caption_;
    gfx::TIcon icon_;
    bool visible_ = false;
    int taskbarHides_ = 0;
    int presents_ = 0;
    gfx::TSurface presented_;
};

}  // namespace platform
