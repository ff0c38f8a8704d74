#include "platform/win32/Win32Autostart.h"

#include <stdexcept>

#include "platform/gdi/WinText.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace platform::win32 {

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kValueName[] = L"Sorimo";

[[noreturn]] void Fail(const char* what, LONG error) {
    wchar_t* text = nullptr;
    ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, DWORD(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = text ? gdi::Narrow(text) : "error " + std::to_string(error);
    if (text) ::LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
    throw std::runtime_error(std::string(what) + ": " + reason);
}

// The Run key of the current user, closed when the owner goes.
class RunKey {
public:
    explicit RunKey(REGSAM access) {
        const LONG error = ::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, access, nullptr,
                                             &key_, nullptr);
        if (error != ERROR_SUCCESS) Fail("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", error);
    }
    ~RunKey() { ::RegCloseKey(key_); }
    RunKey(const RunKey&) = delete;
    RunKey& operator=(const RunKey&) = delete;
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

void EnableAutostart(const std::wstring& executable) {
    const std::wstring command = L"\"" + executable + L"\"";
    const RunKey key(KEY_SET_VALUE);
    const LONG error = ::RegSetValueExW(key.Get(), kValueName, 0, REG_SZ,
                                        reinterpret_cast<const BYTE*>(command.c_str()),
                                        DWORD((command.size() + 1) * sizeof(wchar_t)));
    if (error != ERROR_SUCCESS) Fail("Sorimo", error);
}

void DisableAutostart() {
    const RunKey key(KEY_SET_VALUE);
    const LONG error = ::RegDeleteValueW(key.Get(), kValueName);
    if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND) Fail("Sorimo", error);
}

}  // namespace platform::win32
