#include "gui/ScreenPlacement.h"

#include <algorithm>
#include <cstdint>

namespace gui {

namespace {
using Wide = std::int64_t;

// Whether [a, a + length) and [lo, hi) share a point.
bool Overlaps(Wide a, Wide length, Wide lo, Wide hi) { return a < hi && a + length > lo; }

// `a` moved into [lo, hi - length], or to `lo` when that range is empty.
Wide ClampInto(Wide a, Wide length, Wide lo, Wide hi) { return std::clamp(a, lo, std::max(lo, hi - length)); }

// Where a window of `length` starts when centred on [lo, hi); at `lo` when
// it does not fit.
Wide Centre(Wide length, Wide lo, Wide hi) { return lo + std::max<Wide>(hi - lo - length, 0) / 2; }
}  // namespace

TPoint ReachablePosition(TPoint position, int width, int height, const std::vector<TRect>& monitors) {
    const Wide x = position.X;
    const Wide y = position.Y;
    const Wide w = std::max(width, 1);
    const Wide h = std::max(height, 1);
    for (const TRect& m : monitors)
        if (Overlaps(x, w, m.Left, m.Right) && Overlaps(y, h, m.Top, m.Bottom)) return position;
    if (monitors.empty()) return position;
    const TRect& primary = monitors.front();
    // The result lies inside the primary monitor, so it fits an int.
    return {int(ClampInto(x, w, primary.Left, primary.Right)),
            int(ClampInto(y, h, primary.Top, primary.Bottom))};
}

TPoint CentredOn(const TRect& monitor, int width, int height) {
    return {int(Centre(width, monitor.Left, monitor.Right)),
            int(Centre(height, monitor.Top, monitor.Bottom))};
}

}  // namespace gui
