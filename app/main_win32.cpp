// The Windows program: Sorimo on the Win32 backend (Sorimo.exe, a GUI
// program without a console).
#include <exception>
#include <memory>

#include "app/Sorimo.h"
#include "platform/gdi/WinText.h"
#include "platform/win32/Win32Platform.h"

// After the project's headers: <windows.h> defines macros that clash with
// names of the GUI layer.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::unique_ptr<platform::Platform> platform;
    try {
        platform = platform::CreateWin32Platform();
    } catch (const std::exception& e) {
        ::MessageBoxW(nullptr, platform::gdi::Widen(e.what()).c_str(), L"Sorimo", MB_OK | MB_ICONERROR);
        return 1;
    }
    return app::SorimoMain(*platform);
}
