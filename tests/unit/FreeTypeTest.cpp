// The FreeType engine against the fonts installed by scripts/setup-deps.sh
// (the IPA gothic and mincho families): Windows font names must land on
// Japanese-capable fonts of the right kind, at the right size and style.
#include <gtest/gtest.h>

#include <numeric>

#include "gfx/Font.h"
#include "base/Utf8.h"
#include "platform/freetype/FreeTypeFontEngine.h"

namespace gfx {
namespace {

const std::string kPGothic = "ＭＳ Ｐゴシック";
const std::string kGothic = "ＭＳ ゴシック";
const std::string kMincho = "ＭＳ 明朝";
const std::string kSample = "Sorimoヒント";

long Ink(TFontFace& face, std::string_view text) {
    long sum = 0;
    for (char32_t c : base::DecodeUtf8(text)) {
        const TGlyph& g = face.Glyph(c);
        sum += std::accumulate(g.Coverage.begin(), g.Coverage.end(), 0L);
    }
    return sum;
}

int Advance(TFontFace& face, std::string_view text) {
    int sum = 0;
    for (char32_t c : base::DecodeUtf8(text)) sum += face.Glyph(c).Advance;
    return sum;
}

// Mean column of the inked pixels in rows [from, to) of a glyph.
double InkColumn(const TGlyph& g, int from, int to) {
    double weighted = 0, total = 0;
    for (int y = from; y < to; ++y) {
        for (int x = 0; x < g.Width; ++x) {
            weighted += double(x) * g.Coverage[y * g.Width + x];
            total += g.Coverage[y * g.Width + x];
        }
    }
    return total > 0 ? weighted / total : -1;
}

class FreeTypeTest : public ::testing::Test {
protected:
    std::shared_ptr<TFontFace> Open(const std::string& name, int height, bool bold = false, bool italic = false) {
        return engine_->Open({name, height, bold, italic, SHIFTJIS_CHARSET});
    }
    std::unique_ptr<TFontEngine> engine_ = platform::CreateFreeTypeFontEngine();
};

TEST_F(FreeTypeTest, ProportionalGothicDrawsLatinAndKana) {
    auto face = Open(kPGothic, -12);
    for (char32_t c : base::DecodeUtf8(kSample)) {
        EXPECT_TRUE(face->HasGlyph(c)) << "U+" << std::hex << unsigned(c);
        const TGlyph& g = face->Glyph(c);
        EXPECT_GT(g.Advance, 0);
        EXPECT_GT(std::accumulate(g.Coverage.begin(), g.Coverage.end(), 0L), 0);
        EXPECT_LE(g.Top, face->Ascent() + 1) << "glyph pokes out of the cell";
    }
    EXPECT_LT(face->Glyph(U'i').Advance, face->Glyph(U'm').Advance) << "not proportional";
    EXPECT_EQ(Open(kGothic, -12)->Glyph(U'i').Advance, Open(kGothic, -12)->Glyph(U'm').Advance)
        << "the fixed gothic is not fixed";
}

TEST_F(FreeTypeTest, NamesWithoutJapaneseFontsStillDrawJapanese) {
    for (const std::string name : {"No Such Font 4711", "sans-serif", "Arial", "System"}) {
        auto face = Open(name, -12);
        EXPECT_TRUE(face->HasGlyph(0x30D2)) << name;  // ヒ
        EXPECT_GT(Ink(*face, "ヒント"), 0) << name;
    }
}

TEST_F(FreeTypeTest, MinchoIsAnotherFaceThanGothic) {
    const TGlyph& mincho = Open(kMincho, -16)->Glyph(0x660E);  // 明
    const TGlyph& gothic = Open(kGothic, -16)->Glyph(0x660E);
    EXPECT_TRUE(mincho.Coverage != gothic.Coverage);
}

TEST_F(FreeTypeTest, HeightsSelectEmSizeOrCellHeight) {
    // A full-width character of the fixed gothic is one em wide.
    EXPECT_EQ(Open(kGothic, -12)->Glyph(0x3042).Advance, 12);
    EXPECT_EQ(Open(kGothic, -16)->Glyph(0x3042).Advance, 16);
    EXPECT_EQ(Open(kPGothic, 12)->CellHeight(), 12);
    EXPECT_EQ(Open(kPGothic, 20)->CellHeight(), 20);
    auto byDefault = Open(kPGothic, 0);
    auto twelve = Open(kPGothic, -12);
    EXPECT_EQ(byDefault->CellHeight(), twelve->CellHeight());
    EXPECT_EQ(Advance(*byDefault, kSample), Advance(*twelve, kSample));
    EXPECT_GE(twelve->UnderlineThickness(), 1);
    EXPECT_LE(twelve->UnderlinePosition() + twelve->UnderlineThickness(), twelve->Descent());
}

TEST_F(FreeTypeTest, BoldIsWiderAndDarkerItalicLeansRight) {
    auto regular = Open(kPGothic, -12);
    auto bold = Open(kPGothic, -12, true);
    EXPECT_GT(Advance(*bold, kSample), Advance(*regular, kSample));
    EXPECT_GT(Ink(*bold, kSample), Ink(*regular, kSample) * 11 / 10);
    // "System" stands for a bold-looking font.
    EXPECT_GT(Ink(*Open("System", -12), kSample), Ink(*regular, kSample) * 11 / 10);

    const TGlyph& upright = Open(kPGothic, -16)->Glyph(U'l');
    const TGlyph& slanted = Open(kPGothic, -16, false, true)->Glyph(U'l');
    const int h = slanted.Height;
    EXPECT_GT(InkColumn(slanted, 0, h / 3), InkColumn(slanted, h - h / 3, h) + 1);
    EXPECT_NEAR(InkColumn(upright, 0, h / 3), InkColumn(upright, h - h / 3, h), 0.5);
}

TEST_F(FreeTypeTest, FacesAndGlyphsAreCachedAndStable) {
    auto face = Open(kPGothic, -12);
    EXPECT_EQ(face, Open(kPGothic, -12));
    EXPECT_NE(face, Open(kPGothic, -12, true));
    const TGlyph* first = &face->Glyph(U'S');
    for (char32_t c = 0x3041; c < 0x3100; ++c) face->Glyph(c);  // grow the cache
    EXPECT_EQ(first, &face->Glyph(U'S'));
}

TEST_F(FreeTypeTest, CodePointsNoFontHasGiveTheMissingBox) {
    auto face = Open(kPGothic, -12);
    EXPECT_FALSE(face->HasGlyph(0x10FFFD));  // private use: in no installed font
    EXPECT_GT(face->Glyph(0x10FFFD).Advance, 0);
    EXPECT_GT(Ink(*face, "\xF4\x8F\xBF\xBD"), 0);
}

}  // namespace
}  // namespace gfx
