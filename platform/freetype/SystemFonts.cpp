#include "platform/SystemFonts.h"

#include "platform/freetype/FreeTypeFontEngine.h"

namespace platform {

std::unique_ptr<gfx::TFontEngine> CreateSystemFontEngine() { return CreateFreeTypeFontEngine(); }

}  // namespace platform
