#include "platform/win32/WindowDpi.h"

namespace platform::win32 {

namespace {
using GetDpiForWindowProc = UINT(WINAPI*)(HWND);

GetDpiForWindowProc LookUpGetDpiForWindow() {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    if (!user32) return nullptr;
    return reinterpret_cast<GetDpiForWindowProc>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "GetDpiForWindow")));
}
}  // namespace

int WindowDpi(HWND window) {
    static const GetDpiForWindowProc getDpiForWindow = LookUpGetDpiForWindow();
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window)) return int(dpi);
    }
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace platform::win32
