// A region made from a polygon with the alternate (even-odd) rule, with the
// classic raster rule: pixel (x, y) is inside when the point (x, y) itself is
// inside the polygon; left and top edges count as inside, right and bottom
// edges do not. Filling the region, FrameRgn and PtInRegion all use the same
// span table, so they agree on every pixel.
#pragma once

#include <span>
#include <vector>

#include "gui/Types.h"

namespace gui {

enum TPolyFillMode { ALTERNATE = 1, WINDING = 2 };

class TRegion {
public:
    TRegion() = default;  // the empty region
    static TRegion FromPolygon(std::span<const TPoint> points, TPolyFillMode mode = ALTERNATE);

    bool Empty() const { return spans_.empty(); }
    bool Contains(int x, int y) const;  // PtInRegion
    TRect BoundingBox() const { return box_; }

    // Half-open horizontal runs [Left, Right) on row Y, sorted by Y then Left.
    struct Span {
        int Y;
        int Left;
        int Right;
    };
    const std::vector<Span>& Spans() const { return spans_; }

private:
    std::vector<Span> spans_;
    TRect box_;
};

}  // namespace gui
