// FontMatcher: which installed font file draws a TFontSpec, and which one
// supplies a code point the chosen font lacks.
//
// The program's windows ask for Windows fonts ("ＭＳ Ｐゴシック", "System",
// ...). Left to itself fontconfig maps those names to its default sans,
// which has no Japanese glyphs, so the Windows names are translated here
// into installed families of the same kind (proportional or fixed gothic,
// mincho), and any match without Japanese glyphs is replaced by a
// Japanese-capable gothic.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "gfx/FontEngine.h"
#include "base/Utf8.h"
#include "platform/freetype/FtHandles.h"

namespace platform::ft {

// A font file as fontconfig found it. Its own style is read from the
// face, as fontconfig reports the asked style for a file it would embolden
// or slant itself.
struct FontFile {
    std::string Path;
    int Index = 0;
    std::string Family;
};

// The file for a TFontSpec and the style the face must show with it (a
// name such as "System" stands for bold).
struct FontChoice {
    FontFile File;
    bool Bold = false;
    bool Italic = false;
};

class FontMatcher {
public:
    FontMatcher() : config_(FcInitLoadConfigAndFonts()) {
        if (!config_) throw std::runtime_error("fontconfig: cannot load the configuration");
    }

    // Never fails while any font is installed; the result has Japanese
    // glyphs whenever an installed font has them.
    FontChoice Match(const gfx::TFontSpec& spec) const {
        const Known known = Translate(spec.Name);
        const bool bold = spec.Bold || known.Bold;
        std::optional<FontFile> file;
        if (!known.Families.empty()) {
            file = Find(known.Families, bold, spec.Italic);
        } else {
            const std::array<const char*, 1> asked{spec.Name.c_str()};
            file = Find(asked, bold, spec.Italic);
        }
        if (!file) file = Find(kPGothic, bold, spec.Italic);
        if (!file) file = Find({}, bold, spec.Italic, 0);  // no Japanese font at all: anything
        if (!file) throw std::runtime_error("fontconfig: no font found for \"" + spec.Name + "\"");
        return {*file, bold, spec.Italic};
    }

    // A file with a glyph for `c`, preferring `family`'s look; none when no
    // installed font has one.
    std::optional<FontFile> Covering(char32_t c, const std::string& family) const {
        const std::array<const char*, 1> near{family.c_str()};
        const FcPatternPtr pattern = Pattern(near, false, false);
        // fontconfig ranks coverage above the family; Japanese forms of
        // shared Han characters are preferred.
        AddCharSet(pattern.get(), c);
        FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
        return Best(pattern.get(), c);
    }

private:
    // Wanted families for a Windows name, best first; each list ends in
    // fonts that are common on Linux desktops.
    static constexpr std::array<const char*, 5> kPGothic{"IPAPGothic", "VL PGothic", "Noto Sans CJK JP",
                                                         "IPAGothic", "Droid Sans Fallback"};
    static constexpr std::array<const char*, 5> kGothic{"IPAGothic", "VL Gothic", "Noto Sans Mono CJK JP",
                                                        "IPAPGothic", "Droid Sans Fallback"};
    static constexpr std::array<const char*, 4> kMincho{"IPAMincho", "IPAPMincho", "Noto Serif CJK JP",
                                                        "IPAexMincho"};
    static constexpr std::array<const char*, 4> kPMincho{"IPAPMincho", "IPAMincho", "Noto Serif CJK JP",
                                                         "IPAexMincho"};
    static constexpr char32_t kHiraganaA = 0x3042;

    struct Known {
        std::span<const char* const> Families;
        bool Bold = false;  // the name stands for a bold-looking font
    };

    // Full-width letters and blanks folded to ASCII, ASCII lowercased and
    // blanks dropped, so "ＭＳ Ｐゴシック" and "MS Pゴシック" compare equal.
    static std::u32string Fold(std::string_view name) {
        std::u32string folded;
        for (char32_t c : base::DecodeUtf8(name)) {
            if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;
            if (c == 0x3000 || c == U' ') continue;
            if (c >= U'A' && c <= U'Z') c += U'a' - U'A';
            folded += c;
        }
        return folded;
    }

    static Known Translate(std::string_view name) {
        const std::u32string n = Fold(name);
        if (n == U"msp\u30B4\u30B7\u30C3\u30AF" || n == U"mspgothic" || n == U"msuigothic") return {kPGothic};
        if (n == U"ms\u30B4\u30B7\u30C3\u30AF" || n == U"msgothic") return {kGothic};
        if (n == U"msp\u660E\u671D" || n == U"mspmincho") return {kPMincho};
        if (n == U"ms\u660E\u671D" || n == U"msmincho") return {kMincho};
        if (n == U"system") return {kPGothic, true};
        return {};
    }

    // fontconfig's best file for the families, if it has a glyph for
    // `mustHave` (0: no such demand).
    std::optional<FontFile> Find(std::span<const char* const> families, bool bold, bool italic,
                                 char32_t mustHave = kHiraganaA) const {
        return Best(Pattern(families, bold, italic).get(), mustHave);
    }

    static FcPatternPtr Pattern(std::span<const char* const> families, bool bold, bool italic) {
        FcPatternPtr pattern(FcPatternCreate());
        for (const char* family : families) {
            FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
        }
        FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
        return pattern;
    }

    std::optional<FontFile> Best(FcPattern* pattern, char32_t mustHave) const {
        FcConfigSubstitute(config_.get(), pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        const FcPatternPtr match(FcFontMatch(config_.get(), pattern, &result));
        if (!match || (mustHave != 0 && !Has(match.get(), mustHave))) return std::nullopt;
        return Describe(match.get());
    }

    static void AddCharSet(FcPattern* pattern, char32_t c) {
        const FcCharSetPtr charset(FcCharSetCreate());
        FcCharSetAddChar(charset.get(), c);
        FcPatternAddCharSet(pattern, FC_CHARSET, charset.get());
    }

    static bool Has(FcPattern* match, char32_t c) {
        FcCharSet* charset = nullptr;
        return FcPatternGetCharSet(match, FC_CHARSET, 0, &charset) == FcResultMatch &&
               FcCharSetHasChar(charset, c);
    }

    static std::optional<FontFile> Describe(FcPattern* match) {
        FcChar8* path = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) != FcResultMatch) return std::nullopt;
        FontFile file;
        file.Path = reinterpret_cast<const char*>(path);
        FcPatternGetInteger(match, FC_INDEX, 0, &file.Index);
        FcChar8* family = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch) {
            file.Family = reinterpret_cast<const char*>(family);
        }
        return file;
    }

    FcConfigPtr config_;
};

}  // namespace platform::ft
