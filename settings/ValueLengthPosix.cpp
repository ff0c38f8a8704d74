#include <limits>

#include "settings/IniFile.h"

namespace settings {

// A value is returned whole, however long.
const std::size_t TIniFile::kMaxValueLength = std::numeric_limits<std::size_t>::max();

}  // namespace settings
