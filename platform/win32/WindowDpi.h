// The density of the monitor a window is on, for a program that declares
// per-monitor awareness in its manifest. Include after the project's headers.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace platform::win32 {

// Dots per inch of the window's monitor (GetDpiForWindow, looked up at run
// time: Windows before 10 lacks it), else of the screen, else 96.
int WindowDpi(HWND window);

}  // namespace platform::win32
