#include "settings/TextCodePage.h"

namespace gui {

// The program's text is UTF-8, as a file's bytes are: nothing to convert.
const TTextCodePage* SettingsCodePage() { return nullptr; }

}  // namespace gui
