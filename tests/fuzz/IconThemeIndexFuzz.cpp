// The icon-theme index reader: any index.theme gives a theme whose
// directories are ordered for a size without overflow or a broken order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/xdg/icons/IconTheme.h"
#include "platform/xdg/KeyFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto index = platform::xdg::KeyFile::Parse(text);
    for (int wanted : {32, 1, 256}) {
        const auto theme = platform::xdg::IconTheme::FromIndex(index, wanted);
        (void)theme.Parents();
        bool matching = true;  // the matching directories come first
        for (const auto& dir : theme.SearchOrder()) {
            const bool matches = platform::xdg::MatchesSize(dir, wanted);
            if (matches && !matching) std::abort();
            matching = matches;
            if (platform::xdg::SizeDistance(dir, wanted) < 0) std::abort();
        }
    }
    return 0;
}
