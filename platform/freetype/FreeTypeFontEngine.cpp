// The font engine of the headless and X11 backends: fontconfig chooses the
// files (FontMatcher.h), FreeType renders the glyphs (FreeTypeFace.h).
#include "platform/freetype/FreeTypeFontEngine.h"

#include <utility>
#include <vector>

#include "platform/freetype/FontMatcher.h"
#include "platform/freetype/FreeTypeFace.h"
#include "platform/freetype/FtHandles.h"

namespace platform {
namespace {

// FreeType and fontconfig start with the first face asked for: loading
// fontconfig's configuration is the dearest step of a program's start, and
// a window without text never needs it.
class FreeTypeFontEngine final : public gfx::TFontEngine {
public:
    // Faces are kept for the engine's life: a program uses a handful of
    // fonts, and reopening one would throw its glyph cache away.
    std::shared_ptr<gfx::TFontFace> Open(const gfx::TFontSpec& spec) override {
        for (const auto& [known, face] : faces_) {
            if (known == spec) return face;
        }
        if (!library_) library_ = std::make_shared<ft::Library>();
        if (!matcher_) matcher_ = std::make_shared<ft::FontMatcher>();
        auto face = std::make_shared<ft::FreeTypeFace>(library_, matcher_, spec);
        faces_.emplace_back(spec, face);
        return face;
    }

private:
    std::shared_ptr<ft::Library> library_;
    std::shared_ptr<const ft::FontMatcher> matcher_;
    std::vector<std::pair<gfx::TFontSpec, std::shared_ptr<gfx::TFontFace>>> faces_;
};

}  // namespace

std::unique_ptr<gfx::TFontEngine> CreateFreeTypeFontEngine() { return std::make_unique<FreeTypeFontEngine>(); }

}  // namespace platform
