// The GDI font engine on the fonts Wine (or Windows) has: whatever face the
// system picks, metrics and glyphs must be consistent.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/gdi/GdiFontEngine.h"

namespace {

TEST(GdiFontEngine, AFaceHasMetricsAndGlyphsWithCoverage) {
    auto engine = platform::CreateGdiFontEngine();
    auto face = engine->Open({"Arial", -12, false, false, 1});
    ASSERT_NE(face, nullptr);
    EXPECT_GT(face->Ascent(), 0);
    EXPECT_GE(face->Descent(), 0);
    EXPECT_GE(face->UnderlineThickness(), 1);
    EXPECT_LE(face->UnderlinePosition() + face->UnderlineThickness(), std::max(face->Descent(), 1));
    ASSERT_TRUE(face->HasGlyph(U'H'));
    const gfx::TGlyph& h = face->Glyph(U'H');
    EXPECT_GT(h.Advance, 0);
    EXPECT_GT(h.Width, 0);
    EXPECT_GT(h.Top, 0);
    EXPECT_LE(h.Top, face->Ascent());
    ASSERT_EQ(h.Coverage.size(), std::size_t(h.Width * h.Height));
    EXPECT_EQ(*std::max_element(h.Coverage.begin(), h.Coverage.end()), 255);
}

TEST(GdiFontEngine, ABlankAdvancesWithoutPixels) {
    auto engine = platform::CreateGdiFontEngine();
    const gfx::TGlyph& space = engine->Open({"Arial", -12, false, false, 1})->Glyph(U' ');
    EXPECT_GT(space.Advance, 0);
    EXPECT_TRUE(space.Coverage.empty());
}

TEST(GdiFontEngine, FacesAreKeptBySpecAndUnknownNamesStillGiveAFace) {
    auto engine = platform::CreateGdiFontEngine();
    const gfx::TFontSpec spec{"No Such Face 123", -14, true, false, 128};
    auto face = engine->Open(spec);
    EXPECT_EQ(engine->Open(spec), face);
    EXPECT_GT(face->Glyph(U'A').Advance, 0);
    EXPECT_FALSE(face->HasGlyph(U'\U0001F600'));  // beyond the 16-bit calls
}

}  // namespace
