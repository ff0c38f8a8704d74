// Ownership of the user32 and shell handles of the backend (the GDI ones
// are in platform/gdi/GdiHandles.h). Include after the project's headers.
#pragma once

#include "platform/gdi/GdiHandles.h"

namespace platform::win32 {

using gdi::BitmapHandle;
using gdi::UniqueHandle;

inline void DestroyIconHandle(HICON icon) { ::DestroyIcon(icon); }
inline void DestroyWindowHandle(HWND window) { ::DestroyWindow(window); }
inline void CloseKernelHandle(HANDLE handle) { ::CloseHandle(handle); }

using IconHandle = UniqueHandle<HICON, &DestroyIconHandle>;
using WindowHandle = UniqueHandle<HWND, &DestroyWindowHandle>;
using KernelHandle = UniqueHandle<HANDLE, &CloseKernelHandle>;  // mutexes, files

// A registered window class, unregistered when the owner goes.
class WindowClass {
public:
    WindowClass(const wchar_t* name, WNDPROC procedure, UINT style);
    ~WindowClass();
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;
    const wchar_t* Name() const { return name_; }

private:
    const wchar_t* name_;
};

// COM for the thread, as the shell calls (ShellExecuteA, SHGetFileInfoA,
// the file dialog) want it.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialized_ = false;
};

}  // namespace platform::win32
