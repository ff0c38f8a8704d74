#include "settings/Utf16Text.h"

#include "base/Utf8.h"

namespace settings {

// UTF-16 code units go through the shared UTF-8 codec (base/Utf8.h), so the
// two sides of a settings file and the text code decode invalid bytes alike.
std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string units;
    units.reserve(text.size());
    for (const char32_t cp : base::DecodeUtf8(text)) {
        if (cp < 0x10000) {
            units += char16_t(cp);
        } else {
            units += char16_t(0xD800 + ((cp - 0x10000) >> 10));
            units += char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
    return units;
}

std::string Utf16ToUtf8(std::u16string_view units) {
    std::u32string points;
    points.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            points += 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(units[++i]) - 0xDC00);
        } else {
            points += u;  // a lone surrogate is encoded as U+FFFD
        }
    }
    return base::EncodeUtf8(points);
}

}  // namespace settings
