// DrawText-style layout, in the order the steps apply: split the text into
// paragraphs at line breaks, strip "&" prefixes, break paragraphs into lines
// (DT_WORDBREAK), shorten lines that are too wide (ellipsis), then place the
// lines and measure the whole. The rules are listed in TextLayout.h.
#include "gfx/TextLayout.h"

#include "base/Utf8.h"

#include <algorithm>
#include <cstdint>

namespace gfx {
namespace {

constexpr std::u32string_view kEllipsis = U"...";

// ------------------------------------------------------------ measuring

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t'; }

// Pen advances with the tab rule of the format. Control characters other
// than expanded tabs take no room (they are not drawn either).
class Measurer {
public:
    Measurer(TFontFace& face, bool expandTabs) : face_(face), expandTabs_(expandTabs) {}

    int Advance(char32_t c, int x) {
        if (c == U'\t' && expandTabs_) return (x / TabStop() + 1) * TabStop() - x;
        if (c < 0x20) return 0;
        return face_.Glyph(c).Advance;
    }

    // The pen after drawing `s` from pen position `x`.
    int End(std::u32string_view s, int x = 0) {
        for (char32_t c : s) x += Advance(c, x);
        return x;
    }

    // Pen position before each code point, and the end as the last entry.
    std::vector<int> PenX(std::u32string_view s) {
        std::vector<int> pen;
        pen.reserve(s.size() + 1);
        int x = 0;
        for (char32_t c : s) {
            pen.push_back(x);
            x += Advance(c, x);
        }
        pen.push_back(x);
        return pen;
    }

private:
    int TabStop() {
        if (tabStop_ == 0) {
            int sum = 0;
            for (char32_t c = U'a'; c <= U'z'; ++c) sum += face_.Glyph(c).Advance;
            tabStop_ = std::max(1, 8 * ((sum + 13) / 26));
        }
        return tabStop_;
    }

    TFontFace& face_;
    bool expandTabs_;
    int tabStop_ = 0;
};

// ------------------------------------------------- paragraphs and prefixes

// A paragraph or a line, with the index of its accelerator (-1: none).
struct Run {
    std::u32string Text;
    int Underline = -1;
};

std::vector<std::u32string> SplitParagraphs(const std::u32string& text) {
    std::vector<std::u32string> paragraphs;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find(U'\n', start);
        if (nl == std::u32string::npos) nl = text.size();
        std::size_t end = nl;
        if (end > start && text[end - 1] == U'\r') --end;
        paragraphs.push_back(text.substr(start, end - start));
        start = nl + 1;
    }
    return paragraphs;
}

Run StripPrefixes(std::u32string_view s) {
    Run run;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != U'&') {
            run.Text += s[i];
            continue;
        }
        if (++i == s.size()) break;
        if (s[i] != U'&') run.Underline = int(run.Text.size());
        run.Text += s[i];
    }
    return run;
}

Run Slice(const Run& run, std::size_t begin, std::size_t end) {
    Run part{run.Text.substr(begin, end - begin), -1};
    if (run.Underline >= int(begin) && run.Underline < int(end)) part.Underline = run.Underline - int(begin);
    return part;
}

// ------------------------------------------------------------ word break

// Where the line starting at `start` ends: at the blank run before the word
// that overflows, or else at the first character that overflows.
std::size_t LineEnd(const std::u32string& s, std::size_t start, int maxWidth, Measurer& m) {
    std::size_t lastBreak = std::u32string::npos;
    int x = 0;
    for (std::size_t i = start; i < s.size(); ++i) {
        const int advance = m.Advance(s[i], x);
        if (x + advance > maxWidth && i > start) {
            if (IsBlank(s[i])) return i;
            return lastBreak != std::u32string::npos ? lastBreak : i;
        }
        if (IsBlank(s[i]) && i > start && !IsBlank(s[i - 1])) lastBreak = i;
        x += advance;
    }
    return s.size();
}

std::vector<Run> BreakWords(const Run& paragraph, int maxWidth, Measurer& m) {
    const std::u32string& s = paragraph.Text;
    if (s.empty()) return {paragraph};
    std::vector<Run> lines;
    std::size_t start = 0;
    while (start < s.size()) {
        const std::size_t end = LineEnd(s, start, maxWidth, m);
        std::size_t trimmed = end;
        while (trimmed > start && end < s.size() && IsBlank(s[trimmed - 1])) --trimmed;
        lines.push_back(Slice(paragraph, start, trimmed));
        start = end;
        if (start < s.size() && start > 0) {
            while (start < s.size() && IsBlank(s[start])) ++start;
        }
    }
    return lines;
}

// -------------------------------------------------------------- ellipsis

Run EndEllipsis(const Run& line, int maxWidth, Measurer& m) {
    const std::vector<int> pen = m.PenX(line.Text);
    const int dots = m.End(kEllipsis);
    std::size_t keep = line.Text.size();
    while (keep > 0 && pen[keep] + dots > maxWidth) --keep;
    Run out = Slice(line, 0, keep);
    out.Text += kEllipsis;
    return out;
}

// "..." followed by as many whole characters of `tail` as fit.
Run CutAfterEllipsis(const Run& tail, int maxWidth, Measurer& m) {
    const int dots = m.End(kEllipsis);
    std::size_t keep = 0;
    for (int x = dots; keep < tail.Text.size(); ++keep) {
        x += m.Advance(tail.Text[keep], x);
        if (x > maxWidth) break;
    }
    Run out = Slice(tail, 0, keep);
    out.Text.insert(0, kEllipsis);
    if (out.Underline >= 0) out.Underline += int(kEllipsis.size());
    return out;
}

// head[0, keep) + "..." + tail, the accelerator following its character.
Run JoinAroundEllipsis(const Run& line, std::size_t keep, std::size_t tailStart) {
    Run out = Slice(line, 0, keep);
    out.Text += kEllipsis;
    out.Text += std::u32string_view(line.Text).substr(tailStart);
    if (line.Underline >= int(tailStart)) {
        out.Underline = line.Underline - int(tailStart) + int(keep + kEllipsis.size());
    }
    return out;
}

Run PathEllipsis(const Run& line, int maxWidth, bool endEllipsis, Measurer& m) {
    const std::size_t sep = line.Text.find_last_of(U"\\/");
    if (sep == std::u32string::npos) return EndEllipsis(line, maxWidth, m);
    const std::u32string_view tail = std::u32string_view(line.Text).substr(sep);
    const std::vector<int> pen = m.PenX(line.Text);
    const int dots = m.End(kEllipsis);
    const auto fits = [&](std::size_t keep) { return m.End(tail, pen[keep] + dots) <= maxWidth; };
    if (!fits(0)) {
        if (endEllipsis) return EndEllipsis(JoinAroundEllipsis(line, 0, sep), maxWidth, m);
        return CutAfterEllipsis(Slice(line, sep, line.Text.size()), maxWidth, m);
    }
    // The width only grows with the kept head (a tab stop never moves text
    // left), so the longest head that fits is found by bisection.
    std::size_t good = 0, bad = sep + 1;
    while (bad - good > 1) {
        const std::size_t mid = good + (bad - good) / 2;
        (fits(mid) ? good : bad) = mid;
    }
    return JoinAroundEllipsis(line, good, sep);
}

Run Shorten(const Run& line, int maxWidth, unsigned format, Measurer& m) {
    if (m.End(line.Text) <= maxWidth) return line;
    if (format & DT_PATH_ELLIPSIS) return PathEllipsis(line, maxWidth, (format & DT_END_ELLIPSIS) != 0, m);
    if (format & DT_END_ELLIPSIS) return EndEllipsis(line, maxWidth, m);
    return line;
}

// ------------------------------------------------------------- placement

// The layout rectangle's size, held within +-2^30 so that sums with text
// extents cannot overflow however large a rectangle the caller passes.
struct Extent {
    int Width;
    int Height;
};

constexpr std::int64_t kExtentLimit = std::int64_t(1) << 30;

int ClampExtent(std::int64_t v) { return int(std::clamp(v, -kExtentLimit, kExtentLimit)); }

Extent SizeOf(const TRect& r) {
    return {ClampExtent(std::int64_t(r.Right) - r.Left), ClampExtent(std::int64_t(r.Bottom) - r.Top)};
}

std::vector<Run> BreakLines(const std::u32string& text, Extent box, unsigned format, Measurer& m) {
    const bool single = (format & DT_SINGLELINE) != 0;
    std::vector<std::u32string> paragraphs = single ? std::vector{text} : SplitParagraphs(text);
    if (text.empty()) paragraphs.clear();
    std::vector<Run> lines;
    for (const std::u32string& p : paragraphs) {
        Run run = (format & DT_NOPREFIX) ? Run{p, -1} : StripPrefixes(p);
        if ((format & DT_WORDBREAK) && !single) {
            for (Run& line : BreakWords(run, box.Width, m)) lines.push_back(std::move(line));
        } else {
            lines.push_back(std::move(run));
        }
    }
    return lines;
}

int AlignedX(int width, Extent box, unsigned format) {
    if (format & DT_CENTER) return (box.Width - width) / 2;
    if (format & DT_RIGHT) return box.Width - width;
    return 0;
}

// Top of a single line under DT_VCENTER / DT_BOTTOM; 0 otherwise.
int AlignedY(int cellHeight, Extent box, unsigned format) {
    if (!(format & DT_SINGLELINE)) return 0;
    if (format & DT_VCENTER) return (box.Height - cellHeight) / 2;
    if (format & DT_BOTTOM) return box.Height - cellHeight;
    return 0;
}

}  // namespace

TTextLayout LayoutText(TFontFace& face, std::string_view utf8, const TRect& rect, unsigned format) {
    Measurer m(face, (format & DT_EXPANDTABS) != 0);
    const int cell = face.CellHeight();
    const Extent box = SizeOf(rect);
    const int top = AlignedY(cell, box, format);
    TTextLayout layout;
    int widest = 0;
    for (const Run& run : BreakLines(base::DecodeUtf8(utf8), box, format, m)) {
        const Run shown = Shorten(run, box.Width, format, m);
        TLayoutLine line{shown.Text, 0, top + cell * int(layout.Lines.size()), 0, shown.Underline,
                         m.PenX(shown.Text)};
        line.Width = line.PenX.back();
        line.X = AlignedX(line.Width, box, format);
        widest = std::max(widest, line.Width);
        layout.Lines.push_back(std::move(line));
    }
    const int count = int(layout.Lines.size());
    layout.Bounds = {rect.Left, rect.Top, ClampToInt(std::int64_t(rect.Left) + widest),
                     ClampToInt(std::int64_t(rect.Top) + std::int64_t(cell) * count)};
    layout.Height = count == 0 ? 0 : top + cell * count;
    return layout;
}

}  // namespace gfx
