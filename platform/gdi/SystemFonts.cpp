#include "platform/SystemFonts.h"

#include "platform/gdi/GdiFontEngine.h"

namespace platform {

std::unique_ptr<gfx::TFontEngine> CreateSystemFontEngine() { return CreateGdiFontEngine(); }

}  // namespace platform
