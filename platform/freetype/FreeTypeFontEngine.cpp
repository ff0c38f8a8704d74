#include "platform/freetype/FreeTypeFontEngine.h"

#include <stdexcept>

namespace platform {

std::unique_ptr<gui::TFontEngine> CreateFreeTypeFontEngine() { throw std::runtime_error("not yet"); }

}  // namespace platform
