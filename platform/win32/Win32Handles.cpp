#include "platform/win32/Win32Handles.h"

#include <objbase.h>

#include <stdexcept>

namespace platform::win32 {

WindowClass::WindowClass(const wchar_t* name, WNDPROC procedure, UINT style) : name_(name) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.lpszClassName = name;
    if (!::RegisterClassExW(&wc)) throw std::runtime_error("RegisterClassExW failed");
}

WindowClass::~WindowClass() { ::UnregisterClassW(name_, ::GetModuleHandleW(nullptr)); }

ComApartment::ComApartment() {
    const HRESULT result = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    initialized_ = SUCCEEDED(result);
}

ComApartment::~ComApartment() {
    if (initialized_) ::CoUninitialize();
}

}  // namespace platform::win32
