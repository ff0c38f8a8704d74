#include "settings/IniFileText.h"

#include <optional>

#include "settings/IniText.h"
#include "settings/Utf16Text.h"

namespace settings {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

std::string_view MarkOf(TTextForm form) {
    switch (form) {
        case TTextForm::Utf8: return kUtf8Mark;
        case TTextForm::Utf16Le: return kUtf16LeMark;
        case TTextForm::Utf16Be: return kUtf16BeMark;
        case TTextForm::Bytes: break;
    }
    return {};
}

bool IsUtf16(TTextForm form) { return form == TTextForm::Utf16Le || form == TTextForm::Utf16Be; }

// The code units of a span of UTF-16 bytes; a last odd byte is no unit.
std::u16string Units(std::string_view raw, TTextForm form) {
    std::u16string units;
    units.reserve(raw.size() / 2);
    const bool little = form == TTextForm::Utf16Le;
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
        const auto a = static_cast<unsigned char>(raw[i]);
        const auto b = static_cast<unsigned char>(raw[i + 1]);
        units += little ? char16_t(a | (b << 8)) : char16_t((a << 8) | b);
    }
    return units;
}

std::string UnitBytes(std::u16string_view units, TTextForm form) {
    std::string raw;
    raw.reserve(units.size() * 2);
    for (const char16_t u : units) {
        const char low = char(u & 0xFF), high = char(u >> 8);
        if (form == TTextForm::Utf16Le) {
            raw += low;
            raw += high;
        } else {
            raw += high;
            raw += low;
        }
    }
    return raw;
}

// Where a line lies in a sequence of units of `unit` bytes: content
// [Begin, End), line break [End, Next). Breaks are CRLF, LF or CR, as the
// INI reader has them.
struct TSpan {
    std::size_t Begin, End, Next;
};

template <typename UnitAt>
std::vector<TSpan> LineSpans(std::string_view s, std::size_t unit, UnitAt at) {
    std::vector<TSpan> spans;
    std::size_t pos = 0;
    auto isBreak = [&](std::size_t i) { return at(i) == u'\r' || at(i) == u'\n'; };
    while (pos + unit <= s.size()) {
        std::size_t end = pos;
        while (end + unit <= s.size() && !isBreak(end)) end += unit;
        std::size_t next = end;
        if (next + unit <= s.size()) {
            const bool crlf = at(next) == u'\r' && next + 2 * unit <= s.size() && at(next + unit) == u'\n';
            next += crlf ? 2 * unit : unit;
        }
        spans.push_back({pos, end, next});
        pos = next;
    }
    return spans;
}

std::vector<TSpan> ByteLines(std::string_view s) {
    return LineSpans(s, 1, [s](std::size_t i) { return char16_t(static_cast<unsigned char>(s[i])); });
}

}  // namespace

TTextForm TextFormOf(std::string_view bytes, const TTextCodePage* codePage) {
    if (!codePage) return TTextForm::Bytes;
    if (bytes.starts_with(kUtf16LeMark)) return TTextForm::Utf16Le;
    if (bytes.starts_with(kUtf16BeMark)) return TTextForm::Utf16Be;
    if (bytes.starts_with(kUtf8Mark)) return TTextForm::Utf8;
    return TTextForm::Bytes;
}

TIniFileText::TIniFileText(std::string bytes, const TTextCodePage* codePage)
    : codePage_(codePage), form_(TextFormOf(bytes, codePage)) {
    if (form_ == TTextForm::Bytes) {
        text_ = std::move(bytes);
        return;
    }
    mark_ = std::string(MarkOf(form_));
    Split(std::string_view(bytes).substr(mark_.size()));
}

void TIniFileText::Split(std::string_view body) {
    const std::u16string units = IsUtf16(form_) ? Units(body, form_) : std::u16string();
    const std::vector<TSpan> spans =
        IsUtf16(form_) ? LineSpans(body, 2, [&units](std::size_t i) { return units[i / 2]; })
                       : ByteLines(body);
    for (const TSpan& span : spans) {
        TLine line;
        line.RawContent = std::string(body.substr(span.Begin, span.End - span.Begin));
        line.RawBreak = std::string(body.substr(span.End, span.Next - span.End));
        line.Content = Decode(line.RawContent);
        line.Break = Decode(line.RawBreak);
        text_ += line.Content;
        text_ += line.Break;
        lines_.push_back(std::move(line));
    }
    // Half a unit at the end belongs to no line; it stays the last byte.
    if (IsUtf16(form_)) trailer_ = std::string(body.substr(units.size() * 2));
}

std::string TIniFileText::Decode(std::string_view raw) const {
    if (raw.empty()) return {};
    return codePage_->FromUtf16(IsUtf16(form_) ? Units(raw, form_) : Utf8ToUtf16(raw));
}

std::string TIniFileText::Encode(std::string_view text) const {
    const std::u16string units = codePage_->ToUtf16(text);
    return IsUtf16(form_) ? UnitBytes(units, form_) : Utf16ToUtf8(units);
}

void TIniFileText::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (form_ == TTextForm::Bytes) {
        text_ = SetIniValue(text_, section, key, value);
        return;
    }
    if (FindIniValue(text_, section, key) == std::optional<std::string_view>(value)) return;
    Adopt(SetIniValue(text_, section, key, value));
}

// Takes a new text: lines at its start and end whose content has not
// changed keep their bytes (one write changes one run of lines), the lines
// between are converted from the text.
void TIniFileText::Adopt(std::string newText) {
    std::vector<TLine> fresh;
    for (const TSpan& span : ByteLines(newText)) {
        TLine line;
        line.Content = newText.substr(span.Begin, span.End - span.Begin);
        line.Break = newText.substr(span.End, span.Next - span.End);
        fresh.push_back(std::move(line));
    }
    const std::size_t n = lines_.size(), m = fresh.size();
    std::size_t head = 0;
    while (head < n && head < m && lines_[head].Content == fresh[head].Content) ++head;
    std::size_t tail = 0;
    while (tail < n - head && tail < m - head &&
           lines_[n - 1 - tail].Content == fresh[m - 1 - tail].Content)
        ++tail;
    auto keep = [this](TLine& line, const TLine& old) {
        line.RawContent = old.RawContent;
        line.RawBreak = line.Break == old.Break ? old.RawBreak : Encode(line.Break);
    };
    for (std::size_t i = 0; i < m; ++i) {
        TLine& line = fresh[i];
        if (i < head)
            keep(line, lines_[i]);
        else if (i >= m - tail)
            keep(line, lines_[n - (m - i)]);
        else {
            line.RawContent = Encode(line.Content);
            line.RawBreak = Encode(line.Break);
        }
    }
    lines_ = std::move(fresh);
    text_ = std::move(newText);
}

std::string TIniFileText::Bytes() const {
    if (form_ == TTextForm::Bytes) return text_;
    std::string bytes = mark_;
    for (const TLine& line : lines_) bytes.append(line.RawContent).append(line.RawBreak);
    return bytes + trailer_;
}

}  // namespace settings
