// The pure parts of dropping files on the launcher: what lies under a drag,
// which paths a slot can keep, and which slots a drop of several files fills.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace launcher {

// What a drag of files is over in the launcher window: a grid cell (column
// 0..3, row 0..1), the up or the down arrow, or anything else.
struct TDropSpot {
    enum TKind { None, Cell, PageUp, PageDown };
    TKind Kind = None;
    int Col = 0;
    int Row = 0;
    bool operator==(const TDropSpot&) const = default;
};

// The cell under a point of the grid (144 x 72 pixels), or none outside it.
// Unlike the mouse's hit test nothing is clamped: the panel around the grid
// is no cell.
std::optional<TDropSpot> GridCellAt(int x, int y);

// Whether a slot can keep the path: not empty, not the empty-slot marker,
// and without a line break (it would split its settings line and add keys).
bool StorablePath(const std::string& path);

struct TSlotFill {
    int Slot;
    std::string Path;
    bool operator==(const TSlotFill&) const = default;
};

// The slots a drop of `files` on slot `first` fills, in slot order. The
// first file replaces what slot `first` held; each further file takes the
// next empty slot after the last one filled, up to the last slot; files that
// find no empty slot are left out. `slotPaths[k]` is slot k's path (index 0
// is unused), so the last slot is `slotPaths.size() - 1`.
std::vector<TSlotFill> ChooseDropSlots(std::span<const std::string> slotPaths, int first,
                                       const std::vector<std::string>& files);

}  // namespace launcher
