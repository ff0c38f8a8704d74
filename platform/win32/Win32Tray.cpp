#include "platform/win32/Win32Tray.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "platform/gdi/WinText.h"
#include "platform/win32/Win32Icons.h"

namespace platform::win32 {

namespace {
// The classic record's tip: 64 bytes with the terminating NUL.
constexpr std::size_t kTipBytes = 64;

// The tip in the ANSI code page, cut to 63 bytes without splitting a
// double-byte character.
void CopyTip(const std::string& utf8, char* tip) {
    const std::string ansi = gdi::ToAnsi(utf8);
    std::size_t length = 0;
    while (length < ansi.size()) {
        const std::size_t step = ::IsDBCSLeadByte(BYTE(ansi[length])) ? 2 : 1;
        if (length + step > kTipBytes - 1 || length + step > ansi.size()) break;
        length += step;
    }
    std::memcpy(tip, ansi.data(), length);
    tip[length] = '\0';
}
}  // namespace

Win32Tray::Entry& Win32Tray::EntryFor(const NotifyIconData& data) {
    for (Entry& e : entries_)
        if (e.Owner == data.hWnd && e.Id == data.uID) return e;
    // The record's own number, unless another window's icon has it.
    UINT id = data.uID;
    auto taken = [&](UINT n) {
        return std::any_of(entries_.begin(), entries_.end(),
                           [n](const Entry& e) { return e.NativeId == n; });
    };
    while (taken(id)) ++id;
    return entries_.emplace_back(Entry{data.hWnd, data.uID, data.uCallbackMessage, id});
}

bool Win32Tray::Apply(std::uint32_t message, const NotifyIconData& data) {
    Entry& entry = EntryFor(data);
    if (data.uFlags & NIF_MESSAGE) entry.Callback = data.uCallbackMessage;
    NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;  // the classic record: no balloons, no versions
    record.hWnd = window_;
    record.uID = entry.NativeId;
    record.uFlags = data.uFlags & (NIF_MESSAGE | NIF_ICON | NIF_TIP);
    record.uCallbackMessage = data.uCallbackMessage;
    IconHandle icon;  // the shell keeps a copy of its own
    if ((record.uFlags & NIF_ICON) && !data.Icon.Empty()) {
        icon = HandleFromIcon(data.Icon);
        record.hIcon = icon.Get();
    }
    CopyTip(data.szTip, record.szTip);
    const bool done = ::Shell_NotifyIconA(message, &record) != FALSE;
    if (message == NIM_DELETE && done)
        entries_.erase(std::find_if(entries_.begin(), entries_.end(),
                                    [&](const Entry& e) { return &e == &entry; }));
    return done;
}

bool Win32Tray::Route(UINT message, WPARAM wParam, LPARAM lParam, AppListener* app) const {
    for (const Entry& e : entries_) {
        if (e.Callback != message || e.NativeId != wParam) continue;
        POINT cursor{};
        ::GetCursorPos(&cursor);
        if (app) app->NativeTrayMessage(e.Owner, message, e.Id, lParam, {int(cursor.x), int(cursor.y)});
        return true;
    }
    return false;
}

}  // namespace platform::win32
