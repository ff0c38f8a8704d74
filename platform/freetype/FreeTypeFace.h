// FreeTypeFace: one TFontSpec at one pixel size. Its primary font file
// comes from FontMatcher; code points the primary lacks are taken from
// fallback files found through fontconfig as they are first needed.
// Glyphs are rendered once and kept by code point.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/freetype/FontMatcher.h"
#include "platform/freetype/FtHandles.h"

namespace platform::ft {

class FreeTypeFace final : public gfx::TFontFace {
public:
    FreeTypeFace(std::shared_ptr<Library> library, std::shared_ptr<const FontMatcher> matcher,
                 const gfx::TFontSpec& spec)
        : library_(std::move(library)), matcher_(std::move(matcher)) {
        const FontChoice choice = matcher_->Match(spec);
        const FontFile& file = choice.File;
        family_ = file.Family;
        wantBold_ = choice.Bold;
        wantItalic_ = choice.Italic;
        sources_.push_back(Load(file, 0));
        FT_Face face = sources_[0].Face.get();
        pixels_ = EmPixels(face, spec.Height == 0 ? kDefaultHeight : spec.Height);
        FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixels_));
        SetMetrics(face, spec.Height);
        tried_.insert(Key(file));
    }

    int Ascent() const override { return ascent_; }
    int Descent() const override { return descent_; }
    int UnderlinePosition() const override { return underlinePosition_; }
    int UnderlineThickness() const override { return underlineThickness_; }

    const gfx::TGlyph& Glyph(char32_t c) override {
        auto it = glyphs_.find(c);
        if (it == glyphs_.end()) it = glyphs_.emplace(c, RenderFor(c)).first;
        return it->second;
    }

    bool HasGlyph(char32_t c) override { return FindSource(c).has_value(); }

private:
    static constexpr int kDefaultHeight = -12;
    static constexpr int kMaxPixels = 2048;
    // The font's own hints in the light mode, which snaps only vertically
    // and so keeps the proportional advances; never the auto-hinter, whose
    // first use on a face walks the face's whole character map (for a
    // Japanese font, milliseconds and a megabyte of the file touched).
    // Outlines only, since embedded bitmaps could be neither emboldened
    // nor slanted.
    static constexpr FT_Int32 kLoadFlags = FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_AUTOHINT;
    // About 12 degrees, the slant of a typical oblique.
    static constexpr FT_Matrix kShear{0x10000, 0x0366A, 0, 0x10000};

    struct Source {
        FacePtr Face;
        bool Embolden = false;  // the face wants bold, the file is not
        bool Oblique = false;   // the face wants italic, the file is not
    };
    struct Found {
        std::size_t Source;
        FT_UInt Index;
    };

    static std::string Key(const FontFile& file) { return file.Path + '#' + std::to_string(file.Index); }

    Source Load(const FontFile& file, int pixels) const {
        FT_Face face = nullptr;
        if (FT_New_Face(library_->Get(), file.Path.c_str(), file.Index, &face) != 0) {
            throw std::runtime_error("FreeType: cannot open font file " + file.Path);
        }
        const bool bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
        const bool italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
        Source source{FacePtr(face), wantBold_ && !bold, wantItalic_ && !italic};
        if (pixels > 0) FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixels));
        return source;
    }

    // Design ascent and descent (font units) as Windows counts the cell:
    // from the OS/2 table when the font has one, else from the face.
    static std::pair<int, int> DesignCell(FT_Face face) {
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2 && os2->usWinAscent + os2->usWinDescent > 0) return {os2->usWinAscent, os2->usWinDescent};
        if (face->ascender - face->descender > 0) return {face->ascender, -face->descender};
        return {face->units_per_EM, 0};
    }

    // Height < 0 is the em size; > 0 the cell height, from which the em
    // size follows through the font's cell-to-em ratio.
    // Sizes are held to kMaxPixels so that a wild height cannot ask for
    // glyph bitmaps of gigabytes.
    static int EmPixels(FT_Face face, int height) {
        double em = -double(height);
        if (height > 0) {
            const auto [ascent, descent] = DesignCell(face);
            em = double(height) * face->units_per_EM / (ascent + descent);
        }
        return int(std::clamp(std::lround(em), 1L, long(kMaxPixels)));
    }

    int Scale(double units) const { return int(std::lround(units * pixels_ / sources_[0].Face->units_per_EM)); }

    void SetMetrics(FT_Face face, int height) {
        const auto [ascent, descent] = DesignCell(face);
        ascent_ = Scale(ascent);
        // A cell height asked for is the cell height given (within the
        // size limit).
        const bool exactCell = height > 0 && pixels_ < kMaxPixels;
        descent_ = exactCell ? std::max(0, height - ascent_) : Scale(descent);
        underlineThickness_ = std::max(1, Scale(face->underline_thickness));
        const int centre = Scale(-face->underline_position);
        underlinePosition_ = std::clamp(centre - underlineThickness_ / 2, 0,
                                        std::max(0, descent_ - underlineThickness_));
    }

    // The source holding a glyph for c, opening a fallback file if needed.
    std::optional<Found> FindSource(char32_t c) {
        for (std::size_t i = 0; i < sources_.size(); ++i) {
            if (FT_UInt index = FT_Get_Char_Index(sources_[i].Face.get(), c)) return Found{i, index};
        }
        if (missing_.contains(c)) return std::nullopt;
        const std::optional<FontFile> file = matcher_->Covering(c, family_);
        if (file && tried_.insert(Key(*file)).second) {
            sources_.push_back(Load(*file, pixels_));
            if (FT_UInt index = FT_Get_Char_Index(sources_.back().Face.get(), c)) {
                return Found{sources_.size() - 1, index};
            }
        }
        missing_.insert(c);
        return std::nullopt;
    }

    gfx::TGlyph RenderFor(char32_t c) {
        const std::optional<Found> found = FindSource(c);
        // Glyph 0 of the primary is its "missing character" box.
        return found ? Render(sources_[found->Source], found->Index) : Render(sources_[0], 0);
    }

    // Synthetic bold widens stems by whole pixels (about 1/24 em) and the
    // advance by as much, like overstriking.
    int BoldStrength() const { return std::max(1, (pixels_ + 12) / 24) * 64; }

    gfx::TGlyph Render(const Source& source, FT_UInt index) const {
        FT_Face face = source.Face.get();
        gfx::TGlyph glyph;
        if (FT_Load_Glyph(face, index, kLoadFlags) != 0) return glyph;
        FT_GlyphSlot slot = face->glyph;
        FT_Pos advance = slot->advance.x;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            if (source.Embolden) {
                FT_Outline_EmboldenXY(&slot->outline, BoldStrength(), 0);
                advance += BoldStrength();
            }
            if (source.Oblique) FT_Outline_Transform(&slot->outline, &kShear);
        }
        glyph.Advance = int((advance + 32) >> 6);
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return glyph;
        CopyCoverage(slot, glyph);
        return glyph;
    }

    static void CopyCoverage(FT_GlyphSlot slot, gfx::TGlyph& glyph) {
        const FT_Bitmap& bitmap = slot->bitmap;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.width == 0 || bitmap.rows == 0) return;
        glyph.Left = slot->bitmap_left;
        glyph.Top = slot->bitmap_top;
        glyph.Width = int(bitmap.width);
        glyph.Height = int(bitmap.rows);
        glyph.Coverage.resize(std::size_t(glyph.Width) * glyph.Height);
        const int pitch = bitmap.pitch;
        const unsigned char* row = pitch >= 0 ? bitmap.buffer : bitmap.buffer + std::ptrdiff_t(bitmap.rows - 1) * -pitch;
        for (int y = 0; y < glyph.Height; ++y, row += pitch) {
            std::copy_n(row, glyph.Width, glyph.Coverage.begin() + std::ptrdiff_t(y) * glyph.Width);
        }
    }

    // Declared first so that it is destroyed last, after every face.
    std::shared_ptr<Library> library_;
    std::shared_ptr<const FontMatcher> matcher_;
    std::string family_;
    bool wantBold_ = false;
    bool wantItalic_ = false;
    int pixels_ = 0;
    int ascent_ = 0;
    int descent_ = 0;
    int underlinePosition_ = 0;
    int underlineThickness_ = 1;
    std::vector<Source> sources_;  // [0] the primary, then fallbacks as needed
    std::set<std::string> tried_;  // files opened already, by path and index
    std::set<char32_t> missing_;   // code points no installed font has
    std::unordered_map<char32_t, gfx::TGlyph> glyphs_;
};

}  // namespace platform::ft
