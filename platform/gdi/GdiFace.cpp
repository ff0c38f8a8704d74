#include "platform/gdi/GdiFace.h"

#include <algorithm>
#include <cwctype>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/gdi/WinText.h"

namespace platform::gdi {

namespace {
constexpr int kGrayLevels = 64;  // GGO_GRAY8_BITMAP gives 0..64

FontHandle MakeFont(const gfx::TFontSpec& spec, const std::wstring& face, int charset) {
    return FontHandle(::CreateFontW(spec.Height, 0, 0, 0, spec.Bold ? FW_BOLD : FW_NORMAL,
                                    spec.Italic, FALSE, FALSE, DWORD(charset), OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
        return std::towlower(wint_t(x)) == std::towlower(wint_t(y));
    });
}

std::wstring FaceName(HDC dc, HFONT font) {
    SelectInto select(dc, font);
    wchar_t name[LF_FACESIZE] = {};
    ::GetTextFaceW(dc, LF_FACESIZE, name);
    return name;
}

// Faces with Japanese and Latin letters, in order of preference: Windows'
// own, then those a Wine prefix finds among the host's fonts.
const wchar_t* const kJapaneseFaces[] = {
    L"\uff2d\uff33 \uff30\u30b4\u30b7\u30c3\u30af",  // MS P Gothic
    L"MS UI Gothic", L"Meiryo UI", L"IPAPGothic", L"IPAGothic", L"VL PGothic",
    L"Noto Sans CJK JP"};

// GDI maps a name it does not know to some other face, which need not have
// Japanese glyphs, nor (the mapper's pick for the Japanese character set)
// Latin ones: such a name gets the first installed face of the list.
FontHandle OpenFont(HDC dc, const gfx::TFontSpec& spec) {
    const std::wstring wanted = Widen(spec.Name);
    FontHandle font = MakeFont(spec, wanted, spec.Charset);
    if (font && SameName(FaceName(dc, font.Get()), wanted)) return font;
    for (const wchar_t* name : kJapaneseFaces) {
        FontHandle japanese = MakeFont(spec, name, SHIFTJIS_CHARSET);
        if (japanese && SameName(FaceName(dc, japanese.Get()), name)) return japanese;
    }
    if (font) return font;
    throw std::runtime_error("CreateFontW failed for " + spec.Name);
}

const MAT2 kIdentity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
}  // namespace

GdiFace::GdiFace(std::shared_ptr<MemoryDc> dc, const gfx::TFontSpec& spec)
    : dc_(std::move(dc)), font_(OpenFont(dc_->Get(), spec)) {
    ReadMetrics();
}

void GdiFace::ReadMetrics() {
    SelectInto select(dc_->Get(), font_.Get());
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc_->Get(), &metrics);
    ascent_ = metrics.tmAscent;
    descent_ = metrics.tmDescent;
    defaultChar_ = metrics.tmDefaultChar;
    OUTLINETEXTMETRICW outline{};
    outline.otmSize = sizeof outline;
    int centre = 1;
    if (::GetOutlineTextMetricsW(dc_->Get(), sizeof outline, &outline)) {
        underlineThickness_ = std::max(1, int(outline.otmsUnderscoreSize));
        centre = -outline.otmsUnderscorePosition;
    }
    underlinePosition_ = std::clamp(centre - underlineThickness_ / 2, 0,
                                    std::max(0, descent_ - underlineThickness_));
}

bool GdiFace::HasGlyph(char32_t codepoint) {
    if (codepoint > 0xFFFF) return false;
    SelectInto select(dc_->Get(), font_.Get());
    const wchar_t c = wchar_t(codepoint);
    WORD index = 0;
    if (::GetGlyphIndicesW(dc_->Get(), &c, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        return false;
    return index != 0xFFFF;
}

const gfx::TGlyph& GdiFace::Glyph(char32_t codepoint) {
    auto it = glyphs_.find(codepoint);
    if (it != glyphs_.end()) return it->second;
    const wchar_t c = HasGlyph(codepoint) ? wchar_t(codepoint) : defaultChar_;
    return glyphs_.emplace(codepoint, Render(c)).first->second;
}

gfx::TGlyph GdiFace::Render(wchar_t c) const {
    SelectInto select(dc_->Get(), font_.Get());
    GLYPHMETRICS metrics{};
    const DWORD size =
        ::GetGlyphOutlineW(dc_->Get(), UINT(c), GGO_GRAY8_BITMAP, &metrics, 0, nullptr, &kIdentity);
    gfx::TGlyph glyph;
    if (size == GDI_ERROR) return glyph;
    glyph.Advance = metrics.gmCellIncX;
    if (size == 0) return glyph;  // a blank: its black box is a dummy
    std::vector<BYTE> bits(size);
    ::GetGlyphOutlineW(dc_->Get(), UINT(c), GGO_GRAY8_BITMAP, &metrics, size, bits.data(),
                       &kIdentity);
    glyph.Left = metrics.gmptGlyphOrigin.x;
    glyph.Top = metrics.gmptGlyphOrigin.y;
    glyph.Width = int(metrics.gmBlackBoxX);
    glyph.Height = int(metrics.gmBlackBoxY);
    const std::size_t pitch = (metrics.gmBlackBoxX + 3) & ~3u;  // rows are DWORD-aligned
    glyph.Coverage.resize(std::size_t(glyph.Width) * std::size_t(glyph.Height));
    for (int y = 0; y < glyph.Height; ++y)
        for (int x = 0; x < glyph.Width; ++x) {
            const int level = std::min<int>(bits[std::size_t(y) * pitch + std::size_t(x)], kGrayLevels);
            glyph.Coverage[std::size_t(y) * std::size_t(glyph.Width) + std::size_t(x)] =
                std::uint8_t((level * 255 + kGrayLevels / 2) / kGrayLevels);
        }
    return glyph;
}

}  // namespace platform::gdi
