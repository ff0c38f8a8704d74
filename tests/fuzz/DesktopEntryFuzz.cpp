// The desktop-entry reader: any bytes parse, and what the icon lookup asks
// of an entry (its icon, lists, numbers) is answered.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/xdg/KeyFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto entry = platform::xdg::KeyFile::Parse(text);
    (void)entry.Value("Desktop Entry", "Icon");
    (void)entry.Value("Desktop Entry", "Exec");
    (void)entry.List("Desktop Entry", "MimeType");
    (void)entry.Integer("Desktop Entry", "X-Number");
    return 0;
}
