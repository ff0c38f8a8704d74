// The layout of DrawText-style calls: alignment, word break, tabs, "&"
// prefixes, measuring, end and path ellipsis. It works on any TFontFace, so
// it is tested with a deterministic fake face.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gfx/FontEngine.h"
#include "gfx/Types.h"

namespace gfx {

constexpr unsigned DT_TOP = 0x0000;
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_EXPANDTABS = 0x0040;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr unsigned DT_CALCRECT = 0x0400;
constexpr unsigned DT_NOPREFIX = 0x0800;
constexpr unsigned DT_PATH_ELLIPSIS = 0x4000;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;

// One laid-out line: the code points to draw, where, and which of them (by
// index into Text) is underlined as an accelerator (-1: none). Control
// characters (below U+0020, expanded tabs included) take their place in
// PenX but draw nothing.
struct TLayoutLine {
    std::u32string Text;
    int X = 0;  // left edge of the line, relative to the layout rectangle
    int Y = 0;  // top of the line's cell, relative to the layout rectangle
    int Width = 0;
    int Underline = -1;
    // Pen x of each code point relative to X, plus the end of the line
    // (Text.size() + 1 entries), so drawing needs no measuring of its own.
    std::vector<int> PenX;
};

// Rules beyond the DT_* names:
// - lines break at "\n" and "\r\n"; a final line break adds no empty line;
//   an empty text has no lines and height 0;
// - "&x" underlines x (the last such prefix of a paragraph wins), "&&" is "&",
//   a lone "&" at the end of the text shows nothing;
// - DT_WORDBREAK breaks at blanks (blanks at the break vanish); a word
//   wider than the rectangle is broken between characters; every line
//   holds at least one character;
// - DT_EXPANDTABS: tab stops every 8 average character widths from the
//   line's start, the average being the mean advance of 'a'..'z' (rounded);
// - DT_END_ELLIPSIS / DT_PATH_ELLIPSIS shorten each line wider than the
//   rectangle with "..."; path ellipsis keeps the part from the last '\\'
//   or '/' on and as much of the start as fits before the "..."; when
//   even "..." plus that part is too wide, it keeps what of that part fits
//   whole (or ends it with "..." under DT_END_ELLIPSIS too); without a
//   separator it acts as end ellipsis;
// - control characters other than expanded tabs take no room;
// - Bounds: Left/Top of the rectangle, the width of the widest line and
//   the height of all lines (so DT_CALCRECT narrows or widens the
//   rectangle to the text, also with word break);
// - vertical alignment applies to DT_SINGLELINE only; Height is then the
//   offset from the rectangle's top to the bottom of the text.
struct TTextLayout {
    std::vector<TLayoutLine> Lines;
    TRect Bounds;  // the rectangle DT_CALCRECT would return
    int Height = 0;  // DrawText's return value
};

TTextLayout LayoutText(TFontFace& face, std::string_view utf8, const TRect& rect, unsigned format);

}  // namespace gfx
