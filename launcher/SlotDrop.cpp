#include "launcher/SlotDrop.h"

#include "launcher/SlotTable.h"
#include "launcher/Unit1.h"

namespace launcher {

std::optional<TDropSpot> GridCellAt(int x, int y) {
    if (x < 0 || y < 0 || x >= 4 * kCellSize || y >= 2 * kCellSize) return std::nullopt;
    return TDropSpot{TDropSpot::Cell, x / kCellSize, y / kCellSize};
}

bool StorablePath(const std::string& path) {
    return !path.empty() && path != kNoFile && path.find_first_of("\r\n") == std::string::npos;
}

std::vector<TSlotFill> ChooseDropSlots(std::span<const std::string> slotPaths, int first,
                                       const std::vector<std::string>& files) {
    std::vector<TSlotFill> fills;
    const int last = int(slotPaths.size()) - 1;
    if (files.empty() || first < 1 || first > last) return fills;
    fills.push_back({first, files.front()});
    int slot = first;
    for (std::size_t i = 1; i < files.size(); ++i) {
        do {
            ++slot;
        } while (slot <= last && slotPaths[std::size_t(slot)] != kNoFile);
        if (slot > last) break;
        fills.push_back({slot, files[i]});
    }
    return fills;
}

}  // namespace launcher
