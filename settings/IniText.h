// The text of an INI file held in memory: finding a key and producing the
// text with one key set. The rules of the form are stated in settings/IniFile.h;
// this part knows nothing of files.
//
// Both operations make one pass over the text, so large files and long lines
// cost time in proportion to their size.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace settings {

// The value of `key` in `section` (trimmed and unquoted), or nothing when
// the section or the key is missing. The view points into `text`.
std::optional<std::string_view> FindIniValue(std::string_view text, std::string_view section,
                                             std::string_view key);

// `text` with `key` in `section` set to `value`: the key's line rewritten in
// place, or a line added after the section's last key, or the section added
// at the end. New lines end in CRLF; all other bytes are kept. Names and
// value must already be valid (see CheckIniEntry). The value is written as
// QuoteIniValue gives it, so that it reads back byte for byte.
std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);

// The value as written to a line: as it is, unless the reader would trim or
// unquote it; then inside double quotes, of which the reader strips the
// outer pair (" a " reads back as " a ", "'q'" as "'q'").
std::string QuoteIniValue(std::string_view value);

// Throws std::invalid_argument unless `section`, `key` and `value` can be
// written as one line that reads back under the same names with the same
// value: no line breaks or NULs anywhere, names not empty after trimming, no
// '=' in the key and no leading '[' or ';', no ']' in the section.
void CheckIniEntry(std::string_view section, std::string_view key, std::string_view value);

// Parses an integer as the settings reader does: optional sign and decimal
// digits, or hexadecimal after "0x"/"0X" (with text after it) or after "$".
// Hexadecimal takes 32-bit patterns ("0xFFFFFFFF" is -1). Nothing for any
// other text or a value that does not fit 32 bits.
std::optional<int> ParseIniInteger(std::string_view text);

}  // namespace settings
