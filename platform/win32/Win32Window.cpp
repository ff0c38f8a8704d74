#include "platform/win32/Win32Window.h"

#include <shellapi.h>
#include <windowsx.h>

#include <optional>
#include <stdexcept>

#include "platform/common/BlockScaling.h"
#include "platform/gdi/WinText.h"
#include "platform/win32/Win32Drop.h"
#include "platform/win32/Win32Icons.h"
#include "platform/win32/WindowDpi.h"

namespace platform::win32 {

namespace {
constexpr WPARAM kAnyButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

DWORD ExtendedStyle(WindowKind kind) {
    // The hint window floats above everything and never takes the focus.
    if (kind == WindowKind::Tooltip) return WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    return 0;
}

gfx::TShiftState ShiftOf(WPARAM keys) {
    gfx::TShiftState s = 0;
    if (keys & MK_SHIFT) s |= gfx::ssShift;
    if (keys & MK_CONTROL) s |= gfx::ssCtrl;
    if (::GetKeyState(VK_MENU) < 0) s |= gfx::ssAlt;
    if (keys & MK_LBUTTON) s |= gfx::ssLeft;
    if (keys & MK_RBUTTON) s |= gfx::ssRight;
    if (keys & MK_MBUTTON) s |= gfx::ssMiddle;
    return s;
}

int Positive(int v) { return v > 1 ? v : 1; }

// The keys the boxes answer to; keypad Enter is Return with the extended bit.
std::optional<Key> KeyOf(WPARAM virtualKey, LPARAM lParam) {
    switch (virtualKey) {
        case VK_RETURN: return (lParam & (1 << 24)) ? Key::KeypadEnter : Key::Return;
        case VK_SPACE: return Key::Space;
        case VK_ESCAPE: return Key::Escape;
        default: return std::nullopt;
    }
}

gfx::TShiftState KeyShift() {
    gfx::TShiftState s = 0;
    if (::GetKeyState(VK_SHIFT) < 0) s |= gfx::ssShift;
    if (::GetKeyState(VK_CONTROL) < 0) s |= gfx::ssCtrl;
    if (::GetKeyState(VK_MENU) < 0) s |= gfx::ssAlt;
    return s;
}
}  // namespace

Win32Window::Win32Window(const WindowClass& windowClass, const WindowSpec& spec,
                         WindowListener& listener, HWND owner)
    : listener_(listener), kind_(spec.Kind), bounds_(spec.Bounds) {
    const TRect& b = spec.Bounds;
    HWND hwnd = ::CreateWindowExW(ExtendedStyle(kind_), windowClass.Name(),
                                  gdi::Widen(spec.Caption).c_str(), WS_POPUP | WS_CLIPSIBLINGS,
                                  b.Left, b.Top, Positive(b.Width()), Positive(b.Height()), owner,
                                  nullptr, ::GetModuleHandleW(nullptr), this);
    if (!hwnd) throw std::runtime_error("CreateWindowExW failed for " + spec.Caption);
    hwnd_.Reset(hwnd);
    // The launcher takes files dropped from the shell.
    if (kind_ == WindowKind::Main) ::DragAcceptFiles(hwnd, TRUE);
    // The monitor's density is known once the window is on it.
    scale_ = ScaleForDpi(WindowDpi(hwnd));
    if (scale_ != 1) ApplyBounds();
}

Win32Window::~Win32Window() {
    // Messages sent while the window is destroyed find no object any more.
    ::SetWindowLongPtrW(hwnd_.Get(), GWLP_USERDATA, 0);
}

LRESULT CALLBACK Win32Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || !self->hwnd_) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return self->OnMessage(message, wParam, lParam);
}

LRESULT Win32Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: OnPaint(); return 0;
        case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel: no flicker
        case WM_CLOSE: listener_.NativeCloseRequest(); return 0;
        case WM_MOUSEACTIVATE:
            if (kind_ == WindowKind::Tooltip) return MA_NOACTIVATE;
            break;
        case WM_KEYDOWN:
            if (const std::optional<Key> key = KeyOf(wParam, lParam)) {
                listener_.NativeKey({*key, KeyShift()});
                return 0;
            }
            break;
        case WM_MOUSEMOVE: OnMove(wParam, lParam); return 0;
        case WM_MOUSELEAVE: OnMouseLeave(); return 0;
        case WM_LBUTTONDOWN: OnButton(MouseAction::Down, gfx::mbLeft, wParam, lParam); return 0;
        case WM_RBUTTONDOWN: OnButton(MouseAction::Down, gfx::mbRight, wParam, lParam); return 0;
        case WM_MBUTTONDOWN: OnButton(MouseAction::Down, gfx::mbMiddle, wParam, lParam); return 0;
        case WM_LBUTTONDBLCLK: OnButton(MouseAction::DoubleClick, gfx::mbLeft, wParam, lParam); return 0;
        case WM_RBUTTONDBLCLK: OnButton(MouseAction::DoubleClick, gfx::mbRight, wParam, lParam); return 0;
        case WM_MBUTTONDBLCLK: OnButton(MouseAction::DoubleClick, gfx::mbMiddle, wParam, lParam); return 0;
        case WM_LBUTTONUP: OnButton(MouseAction::Up, gfx::mbLeft, wParam, lParam); return 0;
        case WM_RBUTTONUP: OnButton(MouseAction::Up, gfx::mbRight, wParam, lParam); return 0;
        case WM_MBUTTONUP: OnButton(MouseAction::Up, gfx::mbMiddle, wParam, lParam); return 0;
        case WM_DROPFILES: OnDropFiles(wParam); return 0;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        default: break;
    }
    return ::DefWindowProcW(hwnd_.Get(), message, wParam, lParam);
}

void Win32Window::OnPaint() {
    PAINTSTRUCT paint;
    ::BeginPaint(hwnd_.Get(), &paint);
    const RECT& r = paint.rcPaint;
    ::EndPaint(hwnd_.Get(), &paint);
    // The GUI layer presents the retained picture of the area (Present).
    listener_.NativeExpose(CoveringRect({int(r.left), int(r.top), int(r.right), int(r.bottom)}, scale_));
}

void Win32Window::OnDpiChanged(int dpi, const RECT& suggested) {
    // Moved to a monitor of another density: the suggested place, at the
    // size of the new scale (whole blocks, not the suggested size).
    scale_ = ScaleForDpi(dpi);
    bounds_ = {int(suggested.left), int(suggested.top), int(suggested.left) + bounds_.Width(),
               int(suggested.top) + bounds_.Height()};
    ApplyBounds();
    listener_.NativeMoved({bounds_.Left, bounds_.Top});
    ::InvalidateRect(hwnd_.Get(), nullptr, FALSE);
}

MouseInput Win32Window::Input(MouseAction action, gfx::TMouseButton button, WPARAM wParam,
                              LPARAM lParam) const {
    // The point may lie outside the window while it is captured.
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    POINT origin{0, 0};
    ::ClientToScreen(hwnd_.Get(), &origin);
    const TPoint client{LogicalOffset(x, scale_), LogicalOffset(y, scale_)};
    return {action, button, ShiftOf(wParam), {int(origin.x) + client.X, int(origin.y) + client.Y}, client};
}

void Win32Window::OnButton(MouseAction action, gfx::TMouseButton button, WPARAM wParam,
                           LPARAM lParam) {
    // Like X11's implicit grab: while any button is held, the window that
    // got the press gets the input, also outside it.
    if (action != MouseAction::Up) ::SetCapture(hwnd_.Get());
    const MouseInput input = Input(action, button, wParam, lParam);
    if (action == MouseAction::Up && (wParam & kAnyButton) == 0 && ::GetCapture() == hwnd_.Get())
        ::ReleaseCapture();
    listener_.NativeMouse(input);
}

void Win32Window::OnMove(WPARAM wParam, LPARAM lParam) {
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_.Get(), 0};
        trackingLeave_ = ::TrackMouseEvent(&track) != FALSE;
    }
    listener_.NativeMouse(Input(MouseAction::Move, gfx::mbLeft, wParam, lParam));
}

void Win32Window::OnMouseLeave() {
    trackingLeave_ = false;
    // While a button is held the pointer still belongs to this window.
    if (::GetCapture() == hwnd_.Get()) return;
    listener_.NativeMouse({MouseAction::Leave, gfx::mbLeft, 0, {}, {}});
}

void Win32Window::OnDropFiles(WPARAM drop) {
    DragInput input = ReadDroppedFiles(hwnd_.Get(), reinterpret_cast<HDROP>(drop));
    // A window disabled behind a native modal dialog takes nothing (the
    // notice would wait in the queue until the dialog has closed).
    if (!::IsWindowEnabled(hwnd_.Get())) return;
    listener_.NativeDrag(input);
}

void Win32Window::SetBounds(const TRect& r) {
    bounds_ = r;
    ApplyBounds();
}

void Win32Window::ApplyBounds() {
    ::SetWindowPos(hwnd_.Get(), nullptr, bounds_.Left, bounds_.Top, Positive(bounds_.Width()) * scale_,
                   Positive(bounds_.Height()) * scale_, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::SetVisible(bool visible) {
    if (!visible) {
        ::ShowWindow(hwnd_.Get(), SW_HIDE);
        return;
    }
    ::ShowWindow(hwnd_.Get(), kind_ == WindowKind::Tooltip ? SW_SHOWNOACTIVATE : SW_SHOW);
}

void Win32Window::SetCaption(const std::string& caption) {
    ::SetWindowTextW(hwnd_.Get(), gdi::Widen(caption).c_str());
}

void Win32Window::SetIcon(const gfx::TIcon& icon) {
    if (icon.Empty()) return;
    IconHandle handle = HandleFromIcon(icon);
    ::SendMessageW(hwnd_.Get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(handle.Get()));
    ::SendMessageW(hwnd_.Get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(handle.Get()));
    icon_ = std::move(handle);  // the window uses it until it gets another
}

void Win32Window::Present(const gfx::TSurface& backBuffer, const TRect& area) {
    const TRect r = gfx::Intersect(area, backBuffer.BoundsRect());
    if (r.IsEmpty() || !::IsWindowVisible(hwnd_.Get())) return;
    if (scale_ == 1) {
        PresentPixels(backBuffer, r);
        return;
    }
    const int s = scale_;
    if (scaled_.Width() != backBuffer.Width() * s || scaled_.Height() != backBuffer.Height() * s)
        scaled_ = gfx::TSurface(backBuffer.Width() * s, backBuffer.Height() * s);
    ScaleBlocks(backBuffer, r, s, scaled_);
    PresentPixels(scaled_, ScaledRect(r, s));
}

void Win32Window::PresentPixels(const gfx::TSurface& pixels, const TRect& r) {
    // The rows of the area as a DIB of their own: TPixel 0x00RRGGBB is BGRA
    // in memory, a top-down 32-bit DIB as it is.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.Width();
    info.bmiHeader.biHeight = -r.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    gdi::WindowDc dc(hwnd_.Get());
    ::SetDIBitsToDevice(dc.Get(), r.Left, r.Top, DWORD(r.Width()), DWORD(r.Height()), r.Left, 0, 0,
                        UINT(r.Height()), pixels.Row(r.Top), &info, DIB_RGB_COLORS);
}

void Win32Window::BringToFront() {
    if (kind_ == WindowKind::Tooltip) {
        ::SetWindowPos(hwnd_.Get(), HWND_TOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    ::SetForegroundWindow(hwnd_.Get());
}

}  // namespace platform::win32
