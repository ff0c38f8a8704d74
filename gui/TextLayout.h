// The layout of DrawText-style calls: alignment, word break, tabs, "&"
// prefixes, measuring, end and path ellipsis. It works on any TFontFace, so
// it is tested with a deterministic fake face.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gui/FontEngine.h"
#include "gui/Types.h"

namespace gui {

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
// index into Text) is underlined as an accelerator (-1: none).
struct TLayoutLine {
    std::u32string Text;
    int X = 0;  // left edge of the line, relative to the layout rectangle
    int Y = 0;  // top of the line's cell
    int Width = 0;
    int Underline = -1;
};

struct TTextLayout {
    std::vector<TLayoutLine> Lines;
    TRect Bounds;  // the rectangle DT_CALCRECT would return
    int Height = 0;  // DrawText's return value
};

TTextLayout LayoutText(TFontFace& face, std::string_view utf8, const TRect& rect, unsigned format);

std::u32string DecodeUtf8(std::string_view utf8);  // invalid bytes become U+FFFD
std::string EncodeUtf8(std::u32string_view text);

}  // namespace gui
