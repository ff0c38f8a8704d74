// The GDI font engine (Windows): faces made with CreateFontW, glyph coverage
// from GetGlyphOutlineW, metrics from GetTextMetricsW.
#pragma once

#include <memory>

#include "gfx/FontEngine.h"

namespace platform {

std::unique_ptr<gfx::TFontEngine> CreateGdiFontEngine();

}  // namespace platform
