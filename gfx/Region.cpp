// Scan conversion of a polygon into the span table of a region. Each row y
// is cut by the edges that span it (top end in, bottom end out); a pixel x
// of the row is inside when the crossings at or left of the point (x, y)
// give an odd count (alternate) or a non-zero winding number (winding).
// Only the column where each crossing starts to count matters, so the whole
// scan works on exact integer columns: no rounding can differ between the
// fill, FrameRgn and PtInRegion.
#include "gfx/Region.h"

#include <algorithm>
#include <cstdint>

namespace gfx {

namespace {

using i64 = std::int64_t;
using u64 = std::uint64_t;

// A non-horizontal edge oriented downwards; it cuts rows Top <= y < Bottom.
// The slope is kept as whole part and remainder so that crossings are exact
// in 64 bits for any int coordinates.
struct Edge {
    i64 Top;
    i64 Bottom;
    i64 X;      // x at row Top
    i64 Whole;  // floor(dx / dy)
    u64 Rest;   // dx - Whole * dy, in [0, dy)
    int Dir;    // +1 where the polygon runs downwards
};

Edge MakeEdge(TPoint a, TPoint b) {
    const int dir = a.Y < b.Y ? 1 : -1;
    if (dir < 0) std::swap(a, b);
    const i64 dy = i64(b.Y) - a.Y;
    const i64 dx = i64(b.X) - a.X;
    i64 whole = dx / dy;
    if (dx % dy < 0) --whole;
    return {a.Y, b.Y, a.X, whole, u64(dx - whole * dy), dir};
}

// First column at or right of the edge on row y: ceil(X + t * dx / dy).
// t * Rest < dy * dy < 2^64 because dy < 2^32.
i64 CrossingColumn(const Edge& e, i64 y) {
    const u64 dy = u64(e.Bottom - e.Top);
    const u64 t = u64(y - e.Top);
    const u64 part = t * e.Rest;
    return e.X + i64(t) * e.Whole + i64(part / dy + (part % dy != 0 ? 1 : 0));
}

std::vector<Edge> MakeEdges(std::span<const TPoint> points) {
    std::vector<Edge> edges;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const TPoint a = points[i];
        const TPoint b = points[(i + 1) % points.size()];
        if (a.Y != b.Y) edges.push_back(MakeEdge(a, b));
    }
    std::sort(edges.begin(), edges.end(),
              [](const Edge& l, const Edge& r) { return l.Top < r.Top; });
    return edges;
}

struct Crossing {
    i64 X;
    int Dir;
};

// Collects the runs row by row, cut to the limit and merged where they touch.
class RunCollector {
public:
    explicit RunCollector(const TRect& limit) : limit_(limit) {}

    void Add(i64 y, i64 left, i64 right) {
        left = std::max<i64>(left, limit_.Left);
        right = std::min<i64>(right, limit_.Right);
        if (left >= right) return;
        if (!spans_.empty() && spans_.back().Y == y && left <= spans_.back().Right) {
            spans_.back().Right = std::max(spans_.back().Right, int(right));
            return;
        }
        spans_.push_back({int(y), int(left), int(right)});
    }

    void AddRow(i64 y, const std::vector<Crossing>& xs, TPolyFillMode mode) {
        if (mode != WINDING) {
            for (std::size_t k = 0; k + 1 < xs.size(); k += 2) Add(y, xs[k].X, xs[k + 1].X);
            return;
        }
        int winding = 0;
        i64 start = 0;
        for (const Crossing& c : xs) {
            const int before = winding;
            winding += c.Dir;
            if (before == 0 && winding != 0) start = c.X;
            if (before != 0 && winding == 0) Add(y, start, c.X);
        }
    }

    std::vector<TRegion::Span>& Spans() { return spans_; }

private:
    TRect limit_;
    std::vector<TRegion::Span> spans_;
};

TRect BoxOf(const std::vector<TRegion::Span>& spans) {
    if (spans.empty()) return {};
    TRect box{spans.front().Left, spans.front().Y, spans.front().Right, spans.back().Y + 1};
    for (const TRegion::Span& s : spans) {
        box.Left = std::min(box.Left, s.Left);
        box.Right = std::max(box.Right, s.Right);
    }
    return box;
}

}  // namespace

TRegion TRegion::FromPolygon(std::span<const TPoint> points, TPolyFillMode mode) {
    return FromPolygon(points, mode, {-kExtent, -kExtent, kExtent, kExtent});
}

TRegion TRegion::FromPolygon(std::span<const TPoint> points, TPolyFillMode mode,
                             const TRect& limit) {
    TRegion region;
    const std::vector<Edge> edges = MakeEdges(points);
    if (edges.empty() || limit.IsEmpty()) return region;
    i64 bottom = limit.Top;
    for (const Edge& e : edges) bottom = std::max(bottom, e.Bottom);
    bottom = std::min<i64>(bottom, limit.Bottom);

    RunCollector runs(limit);
    std::vector<const Edge*> active;
    std::vector<Crossing> xs;
    std::size_t next = 0;
    for (i64 y = std::max<i64>(edges.front().Top, limit.Top); y < bottom; ++y) {
        for (; next < edges.size() && edges[next].Top <= y; ++next) active.push_back(&edges[next]);
        std::erase_if(active, [y](const Edge* e) { return e->Bottom <= y; });
        xs.clear();
        for (const Edge* e : active) xs.push_back({CrossingColumn(*e, y), e->Dir});
        std::sort(xs.begin(), xs.end(),
                  [](const Crossing& l, const Crossing& r) { return l.X < r.X; });
        runs.AddRow(y, xs, mode);
    }
    region.spans_ = std::move(runs.Spans());
    region.box_ = BoxOf(region.spans_);
    return region;
}

std::span<const TRegion::Span> TRegion::Row(int y) const {
    const auto first = std::lower_bound(spans_.begin(), spans_.end(), y,
                                        [](const Span& s, int v) { return s.Y < v; });
    auto last = first;
    while (last != spans_.end() && last->Y == y) ++last;
    return {first, last};
}

bool TRegion::Contains(int x, int y) const {
    const std::span<const Span> row = Row(y);
    const auto after = std::upper_bound(row.begin(), row.end(), x,
                                        [](int v, const Span& s) { return v < s.Left; });
    return after != row.begin() && x < std::prev(after)->Right;
}

}  // namespace gfx
