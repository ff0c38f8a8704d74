// Ownership of Windows handles: each kind of handle with the call that
// releases it, so that no handle outlives its owner or is released twice.
// Include after the project's own headers: <windows.h> defines macros
// (WM_PAINT, NIM_ADD, ...) that clash with the GUI layer's constants.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <utility>

namespace platform::gdi {

// A handle of type H released by Release(H) when the owner goes.
template <class H, auto Release>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    H Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(H handle = nullptr) {
        if (handle_) Release(handle_);
        handle_ = handle;
    }

private:
    H handle_ = nullptr;
};

inline void DeleteGdiObject(HGDIOBJ object) { ::DeleteObject(object); }
inline void DeleteMemoryDc(HDC dc) { ::DeleteDC(dc); }

using FontHandle = UniqueHandle<HFONT, &DeleteGdiObject>;
using BitmapHandle = UniqueHandle<HBITMAP, &DeleteGdiObject>;
// A DC of our own (CreateCompatibleDC), released with DeleteDC.
using MemoryDc = UniqueHandle<HDC, &DeleteMemoryDc>;

// A window's DC (GetDC), released with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC for one scope and puts the previous one back.
class SelectInto {
public:
    SelectInto(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectInto() { ::SelectObject(dc_, previous_); }
    SelectInto(const SelectInto&) = delete;
    SelectInto& operator=(const SelectInto&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace platform::gdi
