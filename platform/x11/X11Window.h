// A form's X window (internal to the backend).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/x11/X11Display.h"
#include "platform/x11/X11Handles.h"

namespace platform::x11 {

// What every window of the backend shares.
struct Context {
    Display* display = nullptr;
    const Atoms* atoms = nullptr;
    int screen = 0;
    Window root = 0;
    Visual* visual = nullptr;
    int depth = 24;
    Window mainWindow = 0;  // dialogs are transient for it
    // Logical pixels to screen pixels: every logical pixel is presented as
    // a block of scale x scale, so pictures stay exact on dense screens.
    int scale = 1;
    // The window manager was seen to put the main window elsewhere than
    // the program moved it, or is one known to place windows only itself
    // (the X11 managers of Wayland compositors): drags go to it.
    bool movesRefused = false;
    // The server time of the user's latest action on the program (a press,
    // a key, the start of a later copy that handed over): window managers
    // that prevent focus stealing weigh activation requests by it.
    Time userTime = CurrentTime;
};

// The name the window manager gives itself (_NET_SUPPORTING_WM_CHECK), or
// none when no EWMH manager runs.
std::optional<std::string> WindowManagerName(const Context& context);

// Whole-pixel scale factor of the screen: GDK_SCALE, else Xft.dpi / 96
// rounded, else 1.
int ScreenScale(Display* display);

class X11Window final : public NativeWindow {
public:
    X11Window(Context& context, const WindowSpec& spec, WindowListener& listener);
    ~X11Window() override;
    X11Window(const X11Window&) = delete;
    X11Window& operator=(const X11Window&) = delete;

    void SetBounds(const TRect& screenRect) override;
    void SetVisible(bool visible) override;
    void SetCaption(const std::string& caption) override;
    void SetIcon(const gfx::TIcon& icon) override;
    void Present(const gfx::TSurface& backBuffer, const TRect& area) override;
    void BringToFront() override;
    void HideTaskbarEntry() override;
    std::uintptr_t Handle() const override { return window_.Get(); }
    // Positions are logical pixels too: the scale is the backend's own.
    int PixelScale() const override { return 1; }
    bool BeginSystemMove(const TPoint& screen) override;
    void CancelSystemMove() override;

    // Where the window is now (ConfigureNotify, real or the manager's
    // synthetic one): the listener hears of a new place.
    void Configured(const XConfigureEvent& e);
    void Reparented(const XReparentEvent& e) { parent_ = e.parent; }
    // The main window was mapped: a manager known to place windows only
    // itself is looked for.
    void Mapped();

    // Gives a shown dialog the keyboard focus (when the window manager
    // offers it with WM_TAKE_FOCUS, or the program may take it itself).
    void TakeFocus(Time time);

    Window Id() const { return window_.Get(); }
    WindowKind Kind() const { return kind_; }
    WindowListener& Listener() { return listener_; }
    const TRect& Bounds() const { return bounds_; }
    bool Mapped() const { return visible_; }

private:
    void SetWindowType();
    void SetNoDecorations();
    void SetSizeHints();
    void SetSkipTaskbarState();
    void SetInputHints();
    TRect Physical() const;
    void RequestMove(TPoint physical);
    void SendMoveResize(TPoint physical, long direction);

    Context& context_;
    WindowListener& listener_;
    WindowKind kind_;
    WindowOwner window_;
    GcOwner gc_;
    TRect bounds_;  // logical pixels
    bool visible_ = false;
    gfx::TSurface scaled_;
    Window parent_;  // the root, or a manager's frame
    // The program's moves not yet seen carried out (screen pixels, and the
    // request's serial), and the place last seen.
    struct MoveRequest {
        TPoint At;
        unsigned long Serial;
    };
    std::vector<MoveRequest> moves_;
    std::optional<TPoint> seen_;  // the presented picture at screen scale
};

}  // namespace platform::x11
