// Where top-level windows go on a desktop of one or more monitors. Pure
// arithmetic, done on 64 bits: a stored position near either end of the int
// range neither overflows nor wraps round onto a monitor.
#pragma once

#include <vector>

#include "gfx/Types.h"
#include "gui/DesignNames.h"

namespace gui {

// The top-left corner for a `width` x `height` window now at `position`, so
// that the user can reach it: unchanged when the window overlaps any of
// `monitors` by at least one pixel; otherwise moved onto the first monitor
// (the primary one) by the shortest way, clamped inside it, or to its
// top-left corner when the window is larger than it. Unchanged when there
// is no monitor.
TPoint ReachablePosition(TPoint position, int width, int height, const std::vector<TRect>& monitors);

// The top-left corner of a `width` x `height` window centred on `monitor`
// (halves rounded towards its top-left), never left of or above the
// monitor's own top-left corner.
TPoint CentredOn(const TRect& monitor, int width, int height);

}  // namespace gui
