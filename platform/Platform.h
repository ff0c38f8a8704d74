// The platform seam: the one interface through which the GUI layer reaches
// the system. Each backend (headless/, x11/, win32/) implements it; the
// program receives a Platform&, never a global.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gfx/FontEngine.h"
#include "gfx/Graphics.h"
#include "gfx/Surface.h"
#include "gfx/SystemColors.h"
#include "gfx/Types.h"

namespace platform {

using gfx::TPoint;
using gfx::TRect;

// ---------------------------------------------------------------- windows

enum class WindowKind {
    Main,     // the launcher: no frame, no taskbar or pager entry, fixed size
    Dialog,   // modal boxes: no frame, transient for the main window
    Tooltip,  // the hint window: override-redirect, placed exactly
};

struct WindowSpec {
    std::string Caption;
    WindowKind Kind = WindowKind::Main;
    TRect Bounds;  // screen coordinates of the client area
};

enum class MouseAction { Down, DoubleClick, Up, Move, Leave };

// Mouse input. While a button is held the window that got the press keeps
// receiving input (the points may lie outside it); the GUI layer decides
// what reaches which control. Both points are taken when the event
// happened: Client in the window that got it, Screen on the screen, so
// Screen - Client is where the window was then. A window manager may place
// the window elsewhere than the program asked, and a window being dragged
// moves while events wait in the queue: neither makes the points stale.
struct MouseInput {
    MouseAction Action = MouseAction::Move;
    gfx::TMouseButton Button = gfx::mbLeft;
    gfx::TShiftState Shift = 0;
    TPoint Screen;
    TPoint Client;
};

// ------------------------------------------------------- dropping files

// Files dragged from another program over a window.
enum class DragAction { Over, Leave, Drop };

// The window's answer to a drag notice, for the program that drags: whether
// a drop at the point would be taken (Over), or was taken (Drop). Only the
// first answer counts; a reply destroyed unanswered refuses, so a notice
// that reaches no handler (a modal window is open, the handler threw) still
// tells the source.
class DragReply {
public:
    explicit DragReply(std::function<void(bool accepted)> send) : send_(std::move(send)) {}
    ~DragReply() { Answer(false); }
    DragReply(const DragReply&) = delete;
    DragReply& operator=(const DragReply&) = delete;
    void Answer(bool accepted) {
        if (!send_) return;
        auto send = std::move(send_);
        send_ = nullptr;
        send(accepted);
    }

private:
    std::function<void(bool)> send_;
};

struct DragInput {
    DragAction Action = DragAction::Over;
    TPoint Screen;  // Over and Drop: the pointer, in screen coordinates
    // Drop: the dropped items as the platform's local paths, in the source's
    // order. OnlyFiles is false when some item was no local file the
    // platform can name (a web address, text, a path over its length limit);
    // Files is then empty.
    std::vector<std::string> Files;
    bool OnlyFiles = true;
    std::shared_ptr<DragReply> Reply;  // none for Leave, or when no answer is asked
};

// The keys the program's boxes answer to; a backend reports no other key.
enum class Key { Return, KeypadEnter, Space, Escape };

// A key pressed while the window has the keyboard focus.
struct KeyInput {
    Key Pressed = Key::Return;
    gfx::TShiftState Shift = 0;
};

// Implemented by the GUI layer; the backend calls it from DeliverEvents.
class WindowListener {
public:
    virtual ~WindowListener() = default;
    virtual void NativeMouse(const MouseInput& input) = 0;
    virtual void NativeKey(const KeyInput& input) = 0;
    virtual void NativeExpose(const TRect& area) = 0;  // present the area again
    virtual void NativeCloseRequest() = 0;
    // Files dragged over the window, away from it, or dropped on it. Only a
    // window that takes drops (the main window) hears these.
    virtual void NativeDrag(const DragInput& input) = 0;

    // The system placed the window elsewhere (a window manager placed or
    // kept it, a monitor of another density): its top-left corner on the
    // screen is now `topLeft`.
    virtual void NativeMoved(const TPoint& topLeft) = 0;
};

class NativeWindow {
public:
    virtual ~NativeWindow() = default;
    virtual void SetBounds(const TRect& screenRect) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetIcon(const gfx::TIcon& icon) = 0;
    // Copies `area` of the back buffer (same size as the window) to the screen.
    virtual void Present(const gfx::TSurface& backBuffer, const TRect& area) = 0;
    virtual void BringToFront() = 0;
    // Keeps the window off the taskbar and pager. Some window managers drop
    // that state when a window is hidden, so it is asked again on showing.
    virtual void HideTaskbarEntry() = 0;
    // The native handle as a number (HWND, X window id, headless id).
    virtual std::uintptr_t Handle() const = 0;
    // Screen pixels per pixel of the form along each axis, in the units of
    // its position: a backend that places windows in screen pixels and
    // draws each pixel of the form as a block (Windows on a dense monitor)
    // gives the block's size; one that maps positions too, or draws 1:1,
    // gives 1. Moving a point of the form by d pixels on the screen takes a
    // move of the window by d * PixelScale().
    virtual int PixelScale() const = 0;
    // A drag of the window by the left button held at `screen` starts or
    // goes on. Where the window manager does not carry out the program's
    // own moves, it is asked to move the window with the pointer until the
    // button is released, and the answer is true: the program then moves
    // nothing itself. False where the program's moves are carried out.
    virtual bool BeginSystemMove(const TPoint& screen) = 0;
    // The left button came back to the program after BeginSystemMove took
    // a drag: the manager never started it, and the request is withdrawn.
    virtual void CancelSystemMove() = 0;
};

// ------------------------------------------------------ notification area

// The record the tray component hands to the notification area: the fields
// of the classic NOTIFYICONDATA that the program uses.
struct NotifyIconData {
    std::uint32_t cbSize = 0;
    std::uintptr_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    gfx::TIcon Icon;  // hIcon: Icon.Handle()
    std::string szTip;  // at most 63 bytes
};

constexpr std::uint32_t NIM_ADD = 0;
constexpr std::uint32_t NIM_MODIFY = 1;
constexpr std::uint32_t NIM_DELETE = 2;
constexpr std::uint32_t NIF_MESSAGE = 1;
constexpr std::uint32_t NIF_ICON = 2;
constexpr std::uint32_t NIF_TIP = 4;

// ------------------------------------------------------------- services

struct ShellOpenRequest {
    std::uintptr_t Owner = 0;
    std::string File;
    std::string Parameters;
    std::string Directory;
    int ShowCommand = 5;  // SW_SHOW
};

struct OpenFileRequest {
    std::uintptr_t Owner = 0;
    std::string Filter;        // "Name|pattern" pairs
    std::string InitialFile;   // preselected path
    bool HideReadOnly = true;
    bool Resizable = true;
};

// A running open-file dialog. The GUI layer runs a nested loop until
// Finished(); on a platform whose dialog is a blocking call the session is
// finished as soon as it is begun.
class FileDialogSession {
public:
    virtual ~FileDialogSession() = default;
    virtual bool Finished() = 0;
    // The chosen path, or nothing when cancelled. Valid once finished.
    virtual std::optional<std::string> Result() = 0;
};

// ------------------------------------------------------ one running copy

// What a later start of the program asks of the copy that already runs for
// the same settings file.
enum class StartRequest {
    Activate,  // come forward: show the launcher if hidden, raise it
    Toggle,    // hide the launcher to the tray when shown, else come forward
};

// Application-wide events that belong to no window of the GUI layer.
class AppListener {
public:
    virtual ~AppListener() = default;
    // A mouse action on a notification-area icon: the callback message of
    // its record, sent to record.hWnd with wParam = uID, lParam = message,
    // and the screen point of the action (the cursor, or the point a panel
    // gave with its request).
    virtual void NativeTrayMessage(std::uintptr_t hWnd, std::uint32_t message,
                                   std::uintptr_t wParam, std::intptr_t lParam,
                                   TPoint screen) = 0;
    // A notification area appeared or was re-created: registered icons,
    // also those whose add was refused, add again.
    virtual void NativeTrayRecreated() = 0;
    // The notification area went away: no icon is shown any more, and none
    // is until NativeTrayRecreated.
    virtual void NativeTrayLost() = 0;
    // The session is ending (logoff, SIGTERM, display lost).
    virtual void NativeSessionEnd() = 0;
    // Monitors came, went, moved or changed size (Monitors() tells how).
    virtual void NativeMonitorsChanged() = 0;
    // A later start of the program handed its request over and ended.
    virtual void NativeStartRequest(StartRequest request) = 0;
    // A native modal loop (a blocking dialog call) holds the thread: run the
    // due timers and paint, without dispatching queued input. Returns when
    // the next timer is due (NowMs), or -1 when none runs.
    virtual std::int64_t NativeIdle() = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    // Event loop. NowMs is a monotonic clock in milliseconds.
    virtual std::int64_t NowMs() = 0;
    // True when input waits to be delivered.
    virtual bool InputPending() = 0;
    // Delivers every pending event to its listener. When none is pending,
    // first waits until one arrives or the clock reaches `deadlineMs`
    // (no deadline when negative). Never polls on a period.
    virtual void DeliverEvents(std::int64_t deadlineMs) = 0;
    virtual void SetAppListener(AppListener* listener) = 0;

    // Windows.
    virtual std::unique_ptr<NativeWindow> CreateNativeWindow(const WindowSpec& spec,
                                                             WindowListener& listener) = 0;
    virtual TPoint CursorPos() = 0;
    virtual TRect ScreenRect() = 0;  // the primary monitor
    // Every monitor's rectangle in screen coordinates, the primary one
    // first; never empty. Monitors may lie at negative coordinates, and
    // parts of the desktop's bounding box may lie on no monitor.
    virtual std::vector<TRect> Monitors() = 0;

    // Drawing.
    virtual gfx::TFontEngine& Fonts() = 0;
    virtual const gfx::TSystemColors& SystemColors() = 0;

    // Shell services.
    virtual std::string ExecutablePath() = 0;
    // The full path of the program's settings file.
    virtual std::string SettingsFile() = 0;
    // Result >= 32 means success (the classic instance-value convention).
    virtual int ShellOpen(const ShellOpenRequest& request) = 0;
    // A 32 x 32 icon for the file, or nothing when it has none.
    virtual std::optional<gfx::TIcon> FileIcon(const std::string& path) = 0;
    virtual std::unique_ptr<FileDialogSession> BeginOpenFileDialog(
        const OpenFileRequest& request) = 0;
    // Shows a native modal error box and returns true, or returns false when
    // the platform has none (the GUI layer then shows its own).
    virtual bool ShowNativeErrorBox(const std::string& title, const std::string& message) = 0;
    // Shell_NotifyIcon: non-zero (true) means success. An add is refused
    // while there is no notification area.
    virtual bool NotifyIcon(std::uint32_t message, const NotifyIconData& data) = 0;

    // One running copy per settings file. Makes this process the running
    // copy for SettingsFile() (the same file reached by another path counts
    // as the same) and returns true; the requests of later starts then
    // arrive through AppListener::NativeStartRequest. When another copy
    // already runs for that file, hands it `request` and returns false:
    // this process then ends without showing anything. A copy that died
    // holds nothing; of two starts at the same moment exactly one wins.
    // Throws std::runtime_error when another copy runs but does not take
    // the request (it hangs): then this process neither starts nor may
    // claim that the request arrived.
    virtual bool BecomeRunningCopy(StartRequest request) = 0;
};

}  // namespace platform
