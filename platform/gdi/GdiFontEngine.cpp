#include "platform/gdi/GdiFontEngine.h"

#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/gdi/GdiFace.h"

namespace platform {
namespace {

class GdiFontEngine final : public gfx::TFontEngine {
public:
    GdiFontEngine() : dc_(std::make_shared<gdi::MemoryDc>(::CreateCompatibleDC(nullptr))) {
        if (!*dc_) throw std::runtime_error("CreateCompatibleDC failed");
    }

    // Faces are kept for the engine's life: a program uses a handful of
    // fonts, and reopening one would throw its glyph cache away.
    std::shared_ptr<gfx::TFontFace> Open(const gfx::TFontSpec& spec) override {
        for (const auto& [known, face] : faces_)
            if (known == spec) return face;
        auto face = std::make_shared<gdi::GdiFace>(dc_, spec);
        faces_.emplace_back(spec, face);
        return face;
    }

private:
    std::shared_ptr<gdi::MemoryDc> dc_;
    std::vector<std::pair<gfx::TFontSpec, std::shared_ptr<gfx::TFontFace>>> faces_;
};

}  // namespace

std::unique_ptr<gfx::TFontEngine> CreateGdiFontEngine() { return std::make_unique<GdiFontEngine>(); }

}  // namespace platform
