#include "base/Utf8.h"

namespace base {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// What a lead byte announces: the sequence length and the range of the
// first continuation byte. The narrowed ranges reject overlong forms,
// surrogates and code points above U+10FFFF. Length 0: not a lead byte.
struct LeadByte {
    int Length = 0;
    unsigned char Low = 0x80;
    unsigned char High = 0xBF;
    char32_t Bits = 0;
};

LeadByte ReadLead(unsigned char b) {
    if (b < 0x80) return {1, 0, 0, b};
    if (b >= 0xC2 && b <= 0xDF) return {2, 0x80, 0xBF, char32_t(b & 0x1F)};
    if (b == 0xE0) return {3, 0xA0, 0xBF, 0};
    if (b == 0xED) return {3, 0x80, 0x9F, 0xD};
    if (b >= 0xE1 && b <= 0xEF) return {3, 0x80, 0xBF, char32_t(b & 0x0F)};
    if (b == 0xF0) return {4, 0x90, 0xBF, 0};
    if (b >= 0xF1 && b <= 0xF3) return {4, 0x80, 0xBF, char32_t(b & 0x07)};
    if (b == 0xF4) return {4, 0x80, 0x8F, 4};
    return {};
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c >= 0xD800 && (c <= 0xDFFF || c > 0x10FFFF)) c = kReplacement;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::u32string DecodeUtf8(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const LeadByte lead = ReadLead(static_cast<unsigned char>(utf8[i]));
        char32_t c = lead.Bits;
        int k = 1;
        for (; k < lead.Length && i + k < utf8.size(); ++k) {
            const auto b = static_cast<unsigned char>(utf8[i + k]);
            if (b < (k == 1 ? lead.Low : 0x80) || b > (k == 1 ? lead.High : 0xBF)) break;
            c = (c << 6) | (b & 0x3F);
        }
        // A bad lead byte, or a sequence cut short: one U+FFFD for the bytes
        // that still looked valid, and decoding resumes after them.
        out += (lead.Length == 0 || k < lead.Length) ? kReplacement : c;
        i += k;
    }
    return out;
}

std::string EncodeUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) AppendUtf8(out, c);
    return out;
}

}  // namespace base
