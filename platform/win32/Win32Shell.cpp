#include "platform/win32/Win32Shell.h"

#include "platform/gdi/WinText.h"
#include "platform/win32/Win32Icons.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace platform::win32 {

namespace {
const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

HWND AsHwnd(std::uintptr_t handle) { return reinterpret_cast<HWND>(handle); }

// Room for long paths, beyond MAX_PATH.
constexpr std::size_t kPathRoom = 32768;

// The size of a slot's icon, in the form's pixels.
constexpr int kIconSize = 32;

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) return 0;
    BitmapHandle color(info.hbmColor), mask(info.hbmMask);  // made for us
    BITMAP m{};
    ::GetObjectW(mask.Get(), sizeof m, &m);
    return int(m.bmWidth);
}

// The shell's large icon follows the system's density (64 x 64 at 200 %),
// but a cell takes 32 x 32 of the form's pixels, which the window scales
// itself: the same picture as at 100 %, from the file that holds the icon,
// else the large icon stretched.
IconHandle IconAtSize(const std::string& path, HICON large) {
    SHFILEINFOA where{};
    if (::SHGetFileInfoA(path.c_str(), 0, &where, sizeof where, SHGFI_ICONLOCATION) &&
        where.szDisplayName[0]) {
        HICON exact = nullptr;
        if (::SHDefExtractIconA(where.szDisplayName, where.iIcon, 0, &exact, nullptr,
                                MAKELONG(kIconSize, 16)) == S_OK && exact)
            return IconHandle(exact);
    }
    return IconHandle(static_cast<HICON>(::CopyImage(large, IMAGE_ICON, kIconSize, kIconSize, 0)));
}
}  // namespace

int ShellOpen(const ShellOpenRequest& request) {
    const HINSTANCE result =
        ::ShellExecuteA(AsHwnd(request.Owner), nullptr, request.File.c_str(),
                        OrNull(request.Parameters), OrNull(request.Directory), request.ShowCommand);
    return int(reinterpret_cast<INT_PTR>(result));
}

std::optional<gfx::TIcon> FileIcon(const std::string& path) {
    SHFILEINFOA info{};
    ::SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SYSICONINDEX);
    if (!info.hIcon) return std::nullopt;
    IconHandle icon(info.hIcon);
    if (IconWidth(icon.Get()) != kIconSize) {
        if (IconHandle fitted = IconAtSize(path, icon.Get())) icon = std::move(fitted);
    }
    // The shell may hand back a handle it cannot describe (Wine does for a
    // path that does not exist): that file has no icon, which is not a
    // fault of the lookup (a fault would empty the slot).
    try {
        return IconFromHandle(icon.Get());
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
}

std::string DialogFilter(const std::string& filter) {
    std::string list = gdi::ToAnsi(filter);
    std::replace(list.begin(), list.end(), '|', '\0');
    list.push_back('\0');
    list.push_back('\0');
    return list;
}

std::optional<std::string> AskOpenFile(const OpenFileRequest& request) {
    std::vector<char> file(kPathRoom, '\0');
    if (request.InitialFile.size() < file.size())
        std::copy(request.InitialFile.begin(), request.InitialFile.end(), file.begin());
    const std::string filter = DialogFilter(request.Filter);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = AsHwnd(request.Owner);
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = DWORD(file.size());
    dialog.Flags = OFN_EXPLORER;
    if (request.HideReadOnly) dialog.Flags |= OFN_HIDEREADONLY;
    if (request.Resizable) dialog.Flags |= OFN_ENABLESIZING;
    if (!::GetOpenFileNameA(&dialog)) return std::nullopt;
    return std::string(file.data());
}

void ShowErrorBox(const std::string& title, const std::string& message) {
    ::MessageBoxW(nullptr, gdi::Widen(message).c_str(), gdi::Widen(title).c_str(),
                  MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace platform::win32
