// A form's Win32 window: a WS_POPUP window without caption or border whose
// client area is the form; the back buffer is presented with
// SetDIBitsToDevice, WM_PAINT presents the retained picture again, and mouse
// messages reach the GUI layer as input at screen points.
//
// On a dense monitor (the program is per-monitor aware) every pixel of the
// form is a block of PixelScale() x PixelScale() screen pixels; the window's
// position stays in screen pixels, and points inside it reach the GUI layer
// as the window's position plus the offset in the form's pixels.
#pragma once

#include "platform/Platform.h"
#include "platform/win32/Win32Handles.h"

namespace platform::win32 {

class Win32Window final : public NativeWindow {
public:
    // `owner` keeps the window off the taskbar (an owned window gets no
    // button) and above its owner.
    Win32Window(const WindowClass& windowClass, const WindowSpec& spec, WindowListener& listener,
                HWND owner);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    void SetBounds(const TRect& screenRect) override;
    void SetVisible(bool visible) override;
    void SetCaption(const std::string& caption) override;
    void SetIcon(const gfx::TIcon& icon) override;
    void Present(const gfx::TSurface& backBuffer, const TRect& area) override;
    void BringToFront() override;
    // Nothing to ask: the window has an owner, and owned windows never get a
    // taskbar button, also after being hidden and shown again.
    void HideTaskbarEntry() override {}
    std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(hwnd_.Get()); }
    int PixelScale() const override { return scale_; }
    // Windows carries out the program's moves: the drag stays the program's.
    bool BeginSystemMove(const TPoint&) override { return false; }
    void CancelSystemMove() override {}

    HWND Hwnd() const { return hwnd_.Get(); }

    // The window procedure of the class: finds the window's object through
    // GWLP_USERDATA, set from the creation parameter.
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnButton(MouseAction action, gfx::TMouseButton button, WPARAM wParam, LPARAM lParam);
    void OnMove(WPARAM wParam, LPARAM lParam);
    void OnMouseLeave();
    void OnDropFiles(WPARAM drop);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void ApplyBounds();
    void PresentPixels(const gfx::TSurface& pixels, const TRect& area);
    MouseInput Input(MouseAction action, gfx::TMouseButton button, WPARAM wParam,
                     LPARAM lParam) const;

    WindowListener& listener_;
    WindowKind kind_;
    IconHandle icon_;  // declared first: it outlives the window that shows it
    WindowHandle hwnd_;
    bool trackingLeave_ = false;
    TRect bounds_;  // position in screen pixels, size in the form's pixels
    int scale_ = 1;
    gfx::TSurface scaled_;  // the presented picture in screen pixels, when scale_ > 1
};

}  // namespace platform::win32
