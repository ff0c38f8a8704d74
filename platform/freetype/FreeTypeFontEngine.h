// The FreeType + fontconfig font engine.
#pragma once

#include <memory>

#include "gfx/FontEngine.h"

namespace platform {

std::unique_ptr<gui::TFontEngine> CreateFreeTypeFontEngine();

}  // namespace platform
