// Starting Sorimo.exe when the user logs on: a value named "Sorimo" under
// HKCU\Software\Microsoft\Windows\CurrentVersion\Run, the list that Windows
// starts at every log-on of this user.
#pragma once

#include <string>

namespace platform::win32 {

// Sets the value to the quoted path of `executable`. Removing a value that
// is not there is no fault. Both throw std::runtime_error with the reason.
void EnableAutostart(const std::wstring& executable);
void DisableAutostart();

}  // namespace platform::win32
