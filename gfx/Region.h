// A region made from a polygon with the alternate (even-odd) or winding
// rule, with the classic raster rule: pixel (x, y) is inside when the point
// (x, y) itself is inside the polygon; left and top edges count as inside,
// right and bottom edges do not. Filling the region, FrameRgn and PtInRegion
// all use the same span table, so they agree on every pixel.
#pragma once

#include <span>
#include <vector>

#include "gfx/Types.h"

namespace gfx {

enum TPolyFillMode { ALTERNATE = 1, WINDING = 2 };

class TRegion {
public:
    // A region keeps at most the square [-kExtent, kExtent) on both axes, so
    // that absurd coordinates cannot make its span table huge.
    static constexpr int kExtent = 1 << 15;

    TRegion() = default;  // the empty region
    static TRegion FromPolygon(std::span<const TPoint> points, TPolyFillMode mode = ALTERNATE);
    // The same region, keeping only the part inside `limit` (a drawing
    // passes its clip so that it never scans rows it cannot show).
    static TRegion FromPolygon(std::span<const TPoint> points, TPolyFillMode mode,
                               const TRect& limit);

    bool Empty() const { return spans_.empty(); }
    bool Contains(int x, int y) const;  // PtInRegion
    TRect BoundingBox() const { return box_; }

    // Half-open horizontal runs [Left, Right) on row Y, sorted by Y then
    // Left; runs of one row neither overlap nor touch.
    struct Span {
        int Y;
        int Left;
        int Right;
    };
    const std::vector<Span>& Spans() const { return spans_; }
    // The runs of row y (none when the row is outside the region).
    std::span<const Span> Row(int y) const;

private:
    std::vector<Span> spans_;
    TRect box_;
};

}  // namespace gfx
