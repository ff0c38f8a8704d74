// The program's 8-bit text and UTF-16: the conversion that a settings file in
// a Unicode form (one that begins with a byte order mark) needs.
#pragma once

#include <string>
#include <string_view>

namespace settings {

class TTextCodePage {
public:
    virtual ~TTextCodePage() = default;
    // The UTF-16 code units as 8-bit text. A character the code page cannot
    // hold (a lone surrogate too) becomes '?'; none is replaced by a similar
    // looking one, so a path never turns into the path of another file.
    virtual std::string FromUtf16(std::u16string_view units) const = 0;
    virtual std::u16string ToUtf16(std::string_view text) const = 0;
};

// The code page that a settings file in a Unicode form is read in, or null
// when every settings file is read as its bytes. One definition per platform
// (SettingsCodePageWin32.cpp: the ANSI code page, the one the profile calls
// convert to; SettingsCodePagePosix.cpp: none, the program's text is UTF-8).
const TTextCodePage* SettingsCodePage();

}  // namespace settings
