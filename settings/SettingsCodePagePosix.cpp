#include "settings/TextCodePage.h"

namespace settings {

// The program's text is UTF-8, as a file's bytes are: nothing to convert.
const TTextCodePage* SettingsCodePage() { return nullptr; }

}  // namespace settings
