#include "widgets/Blotter2.h"

#include <array>
#include <stdexcept>

namespace widgets {

namespace {

using gui::TColor;

constexpr TColor K = gui::clBlack;
constexpr TColor S = gui::clSilver;
constexpr TColor Y = gui::clYellow;
constexpr TColor O = gui::clOlive;

// A coordinate measured from the near edge (left or top) or from the far
// edge (W or H), so that one table serves every panel size.
struct Coord {
    int Far;  // 0 near, 1 far
    int Offset;
    constexpr int At(int size) const { return Far * size + Offset; }
};
constexpr Coord N(int v) { return {0, v}; }
constexpr Coord F(int v) { return {1, -v}; }  // F(1) is W - 1 or H - 1
constexpr Coord operator+(Coord c, int d) { return {c.Far, c.Offset + d}; }

enum class Shape { Line, Block };

// One stroke in one colour: a pen line from (X1, Y1) up to but not including
// (X2, Y2), or a rectangle (X1, Y1)-(X2, Y2) outlined and filled in the same
// colour. The builders below take both ends included, as the picture is
// described, and turn them into these canvas calls.
struct Stroke {
    TColor Color;
    Shape Kind;
    Coord X1, Y1, X2, Y2;
};

constexpr Stroke Col(TColor c, Coord x, Coord y1, Coord y2) {
    return {c, Shape::Line, x, y1, x, y2 + 1};
}
constexpr Stroke Row(TColor c, Coord y, Coord x1, Coord x2) {
    return {c, Shape::Line, x1, y, x2 + 1, y};
}
constexpr Stroke Dot(TColor c, Coord x, Coord y) { return {c, Shape::Line, x, y, x + 1, y}; }
constexpr Stroke Block(TColor c, Coord x1, Coord x2, Coord y1, Coord y2) {
    return {c, Shape::Block, x1, y1, x2 + 1, y2 + 1};
}

constexpr int Sign(int v) { return (v > 0) - (v < 0); }

// A 45-degree run from the first pixel to the last. Both ends must be
// measured from the same edges, so the direction is the same at every size
// (checked when the table is compiled).
constexpr Stroke Diag(TColor c, Coord x1, Coord y1, Coord x2, Coord y2) {
    if (x1.Far != x2.Far || y1.Far != y2.Far) throw std::logic_error("diagonal across edges");
    return {c, Shape::Line, x1, y1, x2 + Sign(x2.Offset - x1.Offset),
            y2 + Sign(y2.Offset - y1.Offset)};
}

// The picture after the board (a Color rectangle outlined in black), in
// drawing order; later strokes win on shared pixels, which is what makes
// the four corners differ from each other.
constexpr auto kStrokes = std::to_array<Stroke>({
    // Vertical rules, then horizontal rules over them.
    Col(K, N(0), N(0), F(1)), Col(S, N(1), N(0), F(1)), Col(K, N(4), N(0), F(1)),
    Col(S, F(4), N(0), F(1)), Col(K, F(1), N(0), F(1)),
    Row(K, N(0), N(0), F(1)), Row(S, N(1), N(0), F(1)), Row(K, N(4), N(0), F(1)),
    Row(S, F(4), N(0), F(1)), Row(K, F(1), N(0), F(1)),
    // Highlights and shadows of the outer frame.
    Col(Y, N(1), N(1), N(14)), Row(Y, N(1), N(1), N(14)), Col(Y, N(1), F(15), F(1)),
    Row(K, F(1), F(14), F(2)), Col(K, F(1), F(14), F(1)),
    Dot(Y, F(15), F(1)), Dot(Y, F(1), F(15)), Row(Y, N(1), F(15), F(2)),
    // Inner edges of the corner pieces.
    Col(K, N(5), N(5), N(11)), Row(K, N(5), N(5), N(11)), Col(K, N(5), F(11), F(5)),
    Row(K, F(5), N(5), N(11)),
    Row(Y, F(5), N(6), N(10)), Col(Y, F(5), F(11), F(5)), Row(Y, F(5), F(11), F(5)),
    Row(K, N(5), F(11), F(6)),
    Col(Y, F(5), N(5), N(12)),
    // Bevelled ends of the corner pieces.
    Diag(K, N(1), N(15), N(3), N(13)), Dot(K, N(2), F(13)), Diag(K, N(15), N(1), N(13), N(3)),
    Diag(Y, N(2), F(14), N(4), F(12)),
    Diag(K, N(11), F(5), N(14), F(2)),
    Diag(Y, F(15), F(1), F(11), F(5)), Diag(Y, F(1), F(15), F(5), F(11)),
    Diag(K, F(1), N(16), F(4), N(13)), Diag(K, F(14), N(2), F(13), N(3)),
    // Olive pieces: top-left, bottom-left, bottom-right, top-right.
    Block(O, N(2), N(4), N(2), N(11)), Block(O, N(2), N(11), N(2), N(4)),
    Row(O, N(2), N(12), N(13)), Dot(O, N(12), N(3)), Col(O, N(2), N(12), N(13)),
    Dot(O, N(3), N(12)),
    Block(O, N(2), N(11), F(4), F(2)), Block(O, N(2), N(4), F(11), F(3)), Dot(O, N(2), F(13)),
    Row(O, F(12), N(2), N(3)), Dot(O, N(12), F(3)), Row(O, F(2), N(12), N(13)),
    Block(O, F(11), F(2), F(4), F(2)), Block(O, F(4), F(2), F(11), F(2)),
    Row(O, F(12), F(3), F(2)), Dot(O, F(2), F(13)), Col(O, F(12), F(3), F(2)),
    Dot(O, F(13), F(2)),
    Block(O, F(11), F(2), N(2), N(4)), Block(O, F(4), F(2), N(2), N(12)),
    Col(O, F(12), N(2), N(3)), Dot(O, F(13), N(2)), Row(O, N(13), F(3), F(2)),
    Dot(O, F(2), N(14)),
    // The outer black ring, restored where the highlights crossed it.
    Col(K, N(0), N(0), N(9)), Row(K, F(1), N(0), N(12)), Col(K, N(0), F(13), F(1)),
    Row(K, N(0), F(13), F(1)), Col(K, F(1), N(0), N(12)), Row(K, F(1), F(13), F(1)),
    Col(K, F(1), F(13), F(1)),
});

void DrawStroke(gui::TCanvas& canvas, const Stroke& s, int w, int h) {
    const int x1 = s.X1.At(w), y1 = s.Y1.At(h), x2 = s.X2.At(w), y2 = s.Y2.At(h);
    canvas.Pen.Color = s.Color;
    if (s.Kind == Shape::Line) {
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
        return;
    }
    canvas.Brush = {s.Color, gui::bsSolid};
    canvas.Rectangle(x1, y1, x2, y2);
}

}  // namespace

TkestBlotter::TkestBlotter(gui::TComponent* owner) : TPanel(owner) {
    // A form designer gets a panel that fills its parent and shows its
    // board; at run time the stored layout sets every instance's values.
    if (owner && (owner->ComponentState() & gui::csDesigning)) {
        SetBorderWidth(8);
        SetColor(gui::clGreen);
        SetAlign(gui::alClient);
    }
}

void TkestBlotter::Paint(gui::TCanvas& canvas) {
    const int w = Width(), h = Height();
    canvas.Pen.Color = gui::clBlack;
    canvas.Brush = {Color(), gui::bsSolid};
    canvas.Rectangle(0, 0, w, h);
    for (const Stroke& s : kStrokes) DrawStroke(canvas, s, w, h);
}

void TkestBlotter::BoundsChanged(const gui::TRect& oldBounds) {
    TPanel::BoundsChanged(oldBounds);
    // Every edge of the picture depends on W and H, so a move or resize
    // repaints the panel whole rather than only the newly exposed strip.
    Invalidate();
}

}  // namespace widgets
