// UTF-8 and UTF-16, for a settings file kept in a Unicode form.
#pragma once

#include <string>
#include <string_view>

namespace settings {

// The text's code points as UTF-16. A byte that begins no valid sequence
// (stray continuation bytes, overlong forms, surrogates, values above
// U+10FFFF, a cut sequence) becomes U+FFFD, one for each such byte.
std::u16string Utf8ToUtf16(std::string_view text);

// The units as UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);

}  // namespace settings
