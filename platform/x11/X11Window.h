// A form's X window (internal to the backend).
#pragma once

#include <string>

#include "platform/Platform.h"
#include "platform/x11/X11Display.h"

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
};

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
    void SetIcon(const gui::TIcon& icon) override;
    void Present(const gui::TSurface& backBuffer, const TRect& area) override;
    void BringToFront() override;
    void HideTaskbarEntry() override;
    std::uintptr_t Handle() const override { return window_; }
    // Positions are logical pixels too: the scale is the backend's own.
    int PixelScale() const override { return 1; }

    Window Id() const { return window_; }
    WindowKind Kind() const { return kind_; }
    WindowListener& Listener() { return listener_; }
    const TRect& Bounds() const { return bounds_; }
    bool Mapped() const { return visible_; }

private:
    void SetWindowType();
    void SetNoDecorations();
    void SetSizeHints();
    void SetSkipTaskbarState();
    TRect Physical() const;

    Context& context_;
    WindowListener& listener_;
    WindowKind kind_;
    Window window_ = 0;
    GC gc_ = nullptr;
    TRect bounds_;  // logical pixels
    bool visible_ = false;
    gui::TSurface scaled_;  // the presented picture at screen scale
};

}  // namespace platform::x11
