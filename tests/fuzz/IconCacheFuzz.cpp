// The icon-theme.cache reader: any bytes are either refused or answer name
// lookups with directories that lie inside the bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/xdg/icons/IconCacheFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto cache = platform::xdg::IconCacheFile::FromBytes(data, size);
    if (!cache) return 0;
    const char* inside = reinterpret_cast<const char*>(data);
    // Names of the seed caches, and one made of the input's first bytes.
    const std::string names[] = {"folder", "text-x-generic", "a",
                                 std::string(inside, size < 8 ? size : 8)};
    for (const std::string& name : names)
        for (std::string_view dir : cache->PngDirectories(name))
            if (dir.data() < inside || dir.data() + dir.size() > inside + size) std::abort();
    return 0;
}
