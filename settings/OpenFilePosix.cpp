#include "settings/OpenFile.h"

namespace gui {

FilePtr OpenFile(const std::filesystem::path& path, const char* mode) {
    return FilePtr(std::fopen(path.c_str(), mode));
}

}  // namespace gui
