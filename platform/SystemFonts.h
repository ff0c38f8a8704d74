// The font engine of the system a build is for: FreeType and fontconfig on
// Linux, GDI on Windows. The build links exactly one implementation, so the
// headless backend draws text with the same engine as the real program.
#pragma once

#include <memory>

#include "gfx/FontEngine.h"

namespace platform {

std::unique_ptr<gfx::TFontEngine> CreateSystemFontEngine();

}  // namespace platform
