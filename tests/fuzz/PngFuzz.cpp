// The PNG loader as the icon lookup uses it: any bytes are decoded or
// refused with an error, and a decoded picture scales to an icon.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "platform/png/PngFile.h"
#include "platform/xdg/icons/IconLookup.h"
#include "platform/xdg/icons/IconScaling.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const platform::PngPicture picture = platform::DecodePngWithAlpha(
            bytes, "input", platform::xdg::IconLookup::kIconLimits.MaxPixels);
        const std::size_t pixels = std::size_t(picture.Pixels.Width()) * picture.Pixels.Height();
        if (picture.Alpha.size() != pixels) std::abort();
        const gfx::TIcon icon = platform::xdg::ScaleIcon(picture, platform::xdg::IconLookup::kIconSize);
        if (pixels && (icon.Width() != 32 || icon.Height() != 32)) std::abort();
    } catch (const std::runtime_error&) {
    }
    return 0;
}
