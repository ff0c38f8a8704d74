#include "platform/gdi/WinText.h"

#include "platform/gdi/GdiHandles.h"

namespace platform::gdi {

namespace {
std::wstring ToWide(UINT codePage, DWORD flags, std::string_view text) {
    if (text.empty()) return {};
    const int size = int(text.size());
    const int length = ::MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(std::size_t(length), L'\0');
    ::MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), length);
    return wide;
}

std::string FromWide(UINT codePage, std::wstring_view text) {
    if (text.empty()) return {};
    const int size = int(text.size());
    const int length =
        ::WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string bytes(std::size_t(length), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}
}  // namespace

std::wstring Widen(std::string_view text) {
    std::wstring wide = ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, text);
    if (wide.empty() && !text.empty()) wide = ToWide(CP_ACP, 0, text);
    return wide;
}

std::string Narrow(std::wstring_view text) { return FromWide(CP_UTF8, text); }

std::string ToAnsi(std::string_view utf8) { return FromWide(CP_ACP, Widen(utf8)); }

std::wstring FromAnsi(std::string_view ansi) { return ToWide(CP_ACP, 0, ansi); }

}  // namespace platform::gdi
