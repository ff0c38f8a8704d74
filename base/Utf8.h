// The UTF-8 codec of the text code: strict decoding (overlong forms,
// surrogates and code points above U+10FFFF are invalid) and encoding.
#pragma once

#include <string>
#include <string_view>

namespace base {

std::u32string DecodeUtf8(std::string_view utf8);  // invalid bytes become U+FFFD
std::string EncodeUtf8(std::u32string_view text);

}  // namespace base
