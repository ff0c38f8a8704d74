// The FreeType + fontconfig font engine.
#pragma once

#include <memory>

#include "gfx/FontEngine.h"

namespace platform {

std::unique_ptr<gfx::TFontEngine> CreateFreeTypeFontEngine();

}  // namespace platform
