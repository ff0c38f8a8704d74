#include "platform/xdg/tray/StatusIconPixmaps.h"

#include <algorithm>

#include "platform/xdg/icons/IconScaling.h"

namespace platform::xdg {

namespace {

constexpr int kPanelSizes[] = {16, 22, 24, 48};

StatusIconPixmap Bytes(const gfx::TIcon& icon) {
    StatusIconPixmap pixmap{icon.Width(), icon.Height(), {}};
    pixmap.Argb.reserve(std::size_t(icon.Width()) * std::size_t(icon.Height()) * 4);
    for (int y = 0; y < icon.Height(); ++y)
        for (int x = 0; x < icon.Width(); ++x) {
            const std::uint8_t a = icon.AlphaAt(x, y);
            // A transparent pixel's colour means nothing: keep it black.
            const gfx::TPixel p = a ? icon.Pixels().At(x, y) : 0;
            pixmap.Argb.insert(pixmap.Argb.end(), {a, std::uint8_t(p >> 16), std::uint8_t(p >> 8),
                                                   std::uint8_t(p)});
        }
    return pixmap;
}

}  // namespace

std::vector<StatusIconPixmap> StatusIconPixmaps(const gfx::TIcon& icon) {
    if (icon.Empty()) return {};
    std::vector<StatusIconPixmap> pixmaps{Bytes(icon)};
    const PngPicture picture{icon.Pixels(), icon.Alpha()};
    for (int size : kPanelSizes)
        if (size != icon.Width() || size != icon.Height())
            pixmaps.push_back(Bytes(ScaleIcon(picture, size)));
    std::sort(pixmaps.begin(), pixmaps.end(), [](const auto& a, const auto& b) {
        return a.Width * a.Height < b.Width * b.Height;
    });
    return pixmaps;
}

}  // namespace platform::xdg
