// One running copy per settings file on Windows. The running copy holds a
// named mutex made from the settings file's resolved path and gives its
// hidden window the same name as a title; a later start finds the mutex
// taken, lets the running copy come to the foreground, posts its request
// to that window and ends. Windows frees the mutex with the last process
// holding it, so a copy that crashed blocks nothing, and CreateMutexW
// decides between two starts at the same moment.
#pragma once

#include <string>

#include "platform/Platform.h"
#include "platform/win32/Win32Handles.h"

namespace platform::win32 {

class Win32RunningCopy {
public:
    // `window` is the backend's hidden top-level window, of `windowClass`.
    Win32RunningCopy(HWND window, const wchar_t* windowClass, const std::string& settingsFile);
    Win32RunningCopy(const Win32RunningCopy&) = delete;
    Win32RunningCopy& operator=(const Win32RunningCopy&) = delete;

    // True when this process is now the running copy (or no mutex can be
    // made: it then runs on its own); false when the running copy was
    // handed `request`.
    bool Claim(StartRequest request);

    // The registered message that carries a request to the hidden window.
    UINT Message() const { return message_; }
    static StartRequest RequestOf(WPARAM wParam);

private:
    bool HandOver(StartRequest request) const;

    HWND window_;
    const wchar_t* windowClass_;
    std::wstring key_;
    UINT message_;
    KernelHandle mutex_;
};

}  // namespace platform::win32
