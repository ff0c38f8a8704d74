#include "settings/IniText.h"

#include <charconv>
#include <cstdint>
#include <stdexcept>

namespace settings {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kLineBreaks = "\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kNewLine = "\r\n";

std::string_view Trim(std::string_view s) {
    const std::size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

std::string_view Unquote(std::string_view v) {
    const bool quoted = v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
    return quoted ? v.substr(1, v.size() - 2) : v;
}

// One line: its bytes are [Begin, End); Next is where the line after it
// starts (End plus the length of the line break, if any).
struct TLine {
    std::size_t Begin = 0;
    std::size_t End = 0;
    std::size_t Next = 0;
    bool HasBreak() const { return Next > End; }
};

// Walks the lines of a text; a leading byte order mark belongs to no line.
class TLineReader {
public:
    explicit TLineReader(std::string_view text)
        : text_(text), pos_(text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0) {}

    bool Next(TLine& line) {
        if (pos_ >= text_.size()) return false;
        std::size_t end = text_.find_first_of(kLineBreaks, pos_);
        if (end == std::string_view::npos) end = text_.size();
        std::size_t next = end;
        if (next < text_.size()) next += text_.substr(next, 2) == kNewLine ? 2 : 1;
        line = {pos_, end, next};
        pos_ = next;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_;
};

enum class TLineKind { Section, Key, Other };

struct TParsedLine {
    TLineKind Kind = TLineKind::Other;
    std::string_view Name;
    std::string_view Value;
};

TParsedLine ParseLine(std::string_view bytes) {
    const std::string_view s = Trim(bytes.substr(0, bytes.find('\0')));
    if (s.starts_with('[')) {
        // Without a closing bracket the name runs to the end of the line.
        const std::string_view inner = s.substr(1);
        return {TLineKind::Section, Trim(inner.substr(0, inner.find(']'))), {}};
    }
    const std::size_t eq = s.find('=');
    if (s.starts_with(';') || eq == std::string_view::npos) return {};
    return {TLineKind::Key, Trim(s.substr(0, eq)), Unquote(Trim(s.substr(eq + 1)))};
}

// Where a key is, or where it would go.
struct TLocation {
    bool SectionFound = false;
    bool KeyFound = false;
    TLine Anchor;  // the key's line; else the section's last key or its header
    std::string_view Value;
};

TLocation Locate(std::string_view text, std::string_view section, std::string_view key) {
    section = Trim(section);
    key = Trim(key);
    TLocation loc;
    TLineReader reader(text);
    for (TLine line; reader.Next(line);) {
        const TParsedLine parsed = ParseLine(text.substr(line.Begin, line.End - line.Begin));
        if (parsed.Kind == TLineKind::Section) {
            if (loc.SectionFound) break;  // only the first such section counts
            loc.SectionFound = EqualNoCase(parsed.Name, section);
            loc.Anchor = line;
        } else if (loc.SectionFound && parsed.Kind == TLineKind::Key) {
            loc.Anchor = line;
            if (EqualNoCase(parsed.Name, key)) {
                loc.KeyFound = true;
                loc.Value = parsed.Value;
                break;
            }
        }
    }
    return loc;
}

// True when the text's last line has no line break, so that a line appended
// after it needs one first.
bool EndsInOpenLine(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    return !text.empty() && kLineBreaks.find(text.back()) == std::string_view::npos;
}

std::string Splice(std::string_view text, std::size_t from, std::size_t to, std::string_view insert) {
    std::string out;
    out.reserve(text.size() - (to - from) + insert.size());
    out.append(text.substr(0, from)).append(insert).append(text.substr(to));
    return out;
}

std::optional<int> ParseHex(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return static_cast<std::int32_t>(value);  // a 32-bit pattern: 0xFFFFFFFF is -1
}

std::optional<int> ParseDecimal(std::string_view text) {
    // from_chars takes '-' but not '+'; a '+' may not be followed by a sign.
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::string_view> FindIniValue(std::string_view text, std::string_view section,
                                             std::string_view key) {
    const TLocation loc = Locate(text, section, key);
    if (!loc.KeyFound) return std::nullopt;
    return loc.Value;
}

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
    const TLocation loc = Locate(text, section, key);
    std::string line;
    if (!loc.SectionFound) {
        if (EndsInOpenLine(text)) line.append(kNewLine);
        line.append("[").append(Trim(section)).append("]").append(kNewLine);
    } else if (!loc.KeyFound && !loc.Anchor.HasBreak()) {
        line.append(kNewLine);
    }
    line.append(Trim(key)).append("=").append(QuoteIniValue(value)).append(kNewLine);

    if (loc.KeyFound) return Splice(text, loc.Anchor.Begin, loc.Anchor.Next, line);
    const std::size_t at = loc.SectionFound ? loc.Anchor.Next : text.size();
    return Splice(text, at, at, line);
}

std::string QuoteIniValue(std::string_view value) {
    if (Unquote(Trim(value)) == value) return std::string(value);
    std::string quoted;
    quoted.reserve(value.size() + 2);
    quoted.append("\"").append(value).append("\"");
    return quoted;
}

void CheckIniEntry(std::string_view section, std::string_view key, std::string_view value) {
    constexpr std::string_view kUnwritable("\r\n\0", 3);
    for (const std::string_view s : {section, key, value}) {
        if (s.find_first_of(kUnwritable) != std::string_view::npos) {
            throw std::invalid_argument("a settings text holds a line break or a NUL");
        }
    }
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || section.find(']') != std::string_view::npos) {
        throw std::invalid_argument("unusable settings section name: " + std::string(section));
    }
    if (key.empty() || key.find('=') != std::string_view::npos || key.starts_with('[') ||
        key.starts_with(';')) {
        throw std::invalid_argument("unusable settings key name: " + std::string(key));
    }
}

std::optional<int> ParseIniInteger(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return ParseHex(text.substr(2));
    }
    if (text.starts_with('$')) return ParseHex(text.substr(1));
    return ParseDecimal(text);
}

}  // namespace settings
