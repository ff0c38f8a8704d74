#include "settings/TextCodePage.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace settings {
namespace {

// The system's ANSI code page, in which the program's texts and paths are.
class TAnsiCodePage final : public TTextCodePage {
public:
    std::string FromUtf16(std::u16string_view units) const override {
        if (units.empty()) return {};
        const auto* wide = reinterpret_cast<const wchar_t*>(units.data());
        // No best fit ("Ā" as "A" would name another file); '?' instead. A
        // system whose ANSI code page is UTF-8 takes neither flag nor default.
        const bool utf8 = ::GetACP() == CP_UTF8;
        const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
        const char* fallback = utf8 ? nullptr : "?";
        const int n = ::WideCharToMultiByte(CP_ACP, flags, wide, int(units.size()), nullptr, 0,
                                            fallback, nullptr);
        std::string text(std::size_t(n > 0 ? n : 0), '\0');
        if (n > 0)
            ::WideCharToMultiByte(CP_ACP, flags, wide, int(units.size()), text.data(), n, fallback,
                                  nullptr);
        return text;
    }

    std::u16string ToUtf16(std::string_view text) const override {
        if (text.empty()) return {};
        const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
        std::u16string units(std::size_t(n > 0 ? n : 0), u'\0');
        if (n > 0)
            ::MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()),
                                  reinterpret_cast<wchar_t*>(units.data()), n);
        return units;
    }
};

}  // namespace

const TTextCodePage* SettingsCodePage() {
    static const TAnsiCodePage codePage;  // stateless: the system's, read at each call
    return &codePage;
}

}  // namespace settings
