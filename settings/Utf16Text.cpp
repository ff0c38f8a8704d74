#include "settings/Utf16Text.h"

namespace settings {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The code point of the sequence at `text[i]` and its length; a byte that
// begins no valid sequence gives U+FFFD of length 1.
char32_t DecodeAt(std::string_view text, std::size_t i, std::size_t& length) {
    const auto lead = static_cast<unsigned char>(text[i]);
    length = 1;
    if (lead < 0x80) return lead;
    std::size_t n = 0;
    char32_t cp = 0, min = 0;
    if ((lead & 0xE0) == 0xC0) { n = 2; cp = lead & 0x1F; min = 0x80; }
    else if ((lead & 0xF0) == 0xE0) { n = 3; cp = lead & 0x0F; min = 0x800; }
    else if ((lead & 0xF8) == 0xF0) { n = 4; cp = lead & 0x07; min = 0x10000; }
    else return kReplacement;
    if (i + n > text.size()) return kReplacement;
    for (std::size_t k = 1; k < n; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if (!IsContinuation(b)) return kReplacement;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
    length = n;
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string units;
    units.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        const char32_t cp = DecodeAt(text, i, length);
        i += length;
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
    std::string text;
    text.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        char32_t cp = u;
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(units[++i]) - 0xDC00);
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            cp = kReplacement;
        }
        AppendUtf8(text, cp);
    }
    return text;
}

}  // namespace settings
