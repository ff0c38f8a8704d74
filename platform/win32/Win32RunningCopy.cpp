#include "platform/win32/Win32RunningCopy.h"

#include <stdexcept>
#include <vector>

#include "i18n/Messages.h"
#include "platform/common/SettingsFileKey.h"
#include "platform/gdi/WinText.h"

namespace platform::win32 {

namespace {
// How long a later start looks for the window of a copy that holds the
// mutex but has not named its window yet (it is starting too).
constexpr int kLookups = 150;
constexpr DWORD kLookupPauseMs = 20;

// The folder's final path (links, junctions, short names and drive
// mappings resolved), or the path as given when it cannot be opened.
std::wstring FinalFolderPath(const std::wstring& folder) {
    HANDLE handle = ::CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return folder;
    KernelHandle owner(handle);
    std::vector<wchar_t> path(MAX_PATH);
    DWORD length = ::GetFinalPathNameByHandleW(handle, path.data(), DWORD(path.size()), 0);
    if (length >= path.size()) {
        path.resize(length + 1);
        length = ::GetFinalPathNameByHandleW(handle, path.data(), DWORD(path.size()), 0);
    }
    if (length == 0 || length >= path.size()) return folder;
    return std::wstring(path.data(), length);
}

// The settings file's resolved path in upper case: Windows paths ignore
// case, so two spellings of one file give one key.
std::wstring ResolvedUpperCase(const std::string& settingsFile) {
    std::wstring path = gdi::FromAnsi(settingsFile);
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash != std::wstring::npos) path = FinalFolderPath(path.substr(0, slash)) + path.substr(slash);
    ::CharUpperBuffW(path.data(), DWORD(path.size()));
    return path;
}
}  // namespace

Win32RunningCopy::Win32RunningCopy(HWND window, const wchar_t* windowClass,
                                   const std::string& settingsFile)
    : window_(window), windowClass_(windowClass),
      key_(gdi::Widen(SettingsFileKey(gdi::Narrow(ResolvedUpperCase(settingsFile))))),
      message_(::RegisterWindowMessageW(L"Sorimo.StartRequest")) {}

StartRequest Win32RunningCopy::RequestOf(WPARAM wParam) {
    return wParam == 1 ? StartRequest::Toggle : StartRequest::Activate;
}

bool Win32RunningCopy::Claim(StartRequest request) {
    const std::wstring mutexName = L"Local\\Sorimo-" + key_;
    for (int lookup = 0; lookup < kLookups; ++lookup) {
        HANDLE mutex = ::CreateMutexW(nullptr, FALSE, mutexName.c_str());
        const DWORD error = ::GetLastError();
        if (!mutex) return true;
        if (error != ERROR_ALREADY_EXISTS) {
            mutex_.Reset(mutex);
            ::SetWindowTextW(window_, (L"Sorimo " + key_).c_str());
            return true;
        }
        ::CloseHandle(mutex);
        if (HandOver(request)) return false;
        ::Sleep(kLookupPauseMs);
    }
    // The holder never showed its window: it hangs in its start. Starting
    // beside it would bring back the overwritten settings, and ending as if
    // the request had arrived would hide that it did not.
    throw std::runtime_error(i18n::Tr("The running copy for this settings file does not answer."));
}

bool Win32RunningCopy::HandOver(StartRequest request) const {
    HWND running = ::FindWindowW(windowClass_, (L"Sorimo " + key_).c_str());
    if (!running) return false;
    // A started process may hand on its right to take the foreground.
    DWORD process = 0;
    ::GetWindowThreadProcessId(running, &process);
    ::AllowSetForegroundWindow(process);
    return ::PostMessageW(running, message_, request == StartRequest::Toggle ? 1 : 0, 0) != FALSE;
}

}  // namespace platform::win32
