#include "settings/IniFile.h"

namespace settings {

// The profile call's buffer: 2047 characters and the terminating NUL.
const std::size_t TIniFile::kMaxValueLength = 2047;

}  // namespace settings
