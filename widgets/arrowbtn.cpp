#include "widgets/arrowbtn.h"

namespace widgets {

TArrowButton::TArrowButton(gui::TComponent* owner) : TGraphicControl(owner) {
    // No csDoubleClicks: the form then hands the second press of a double
    // click over as an ordinary press.
    ControlStyle = gui::csCaptureMouse | gui::csClickEvents;
    SetBounds(Left(), Top(), 33, 33);
}

void TArrowButton::SetDirection(TButtonDirection direction) {
    if (direction == direction_) return;
    direction_ = direction;
    Invalidate();
}

void TArrowButton::SetButtonColor(gui::TColor color) {
    if (color == buttonColor_) return;
    buttonColor_ = color;
    Invalidate();
}

void TArrowButton::Paint(gui::TCanvas& canvas) {
    FreeRegion();
    switch (direction_) {
        case arwUP: DrawUp(canvas); break;
        case arwRIGHT: DrawRight(canvas); break;
        case arwLEFT: DrawLeft(canvas); break;
        case arwDOWN: DrawDown(canvas); break;
    }
}

// The inner vertices are not the outer ones moved in symmetrically; each
// direction has its own offsets, and the pictures depend on them.
void TArrowButton::DrawUp(gui::TCanvas& canvas) {
    const int w = Width(), h = Height();
    DrawArrow(canvas, {{{w / 2, 3}, {w - 3, h - 3}, {3, h - 3}}},
              {{{w / 2, 6}, {w - 7, h - 5}, {6, h - 5}}});
}

void TArrowButton::DrawRight(gui::TCanvas& canvas) {
    const int w = Width(), h = Height();
    DrawArrow(canvas, {{{3, 3}, {w - 3, h / 2}, {3, h - 3}}},
              {{{5, 6}, {w - 6, h / 2}, {5, h - 6}}});
}

void TArrowButton::DrawLeft(gui::TCanvas& canvas) {
    const int w = Width(), h = Height();
    DrawArrow(canvas, {{{w - 3, 3}, {w - 3, h - 3}, {3, h / 2}}},
              {{{w - 5, 6}, {w - 5, h - 5}, {6, h / 2}}});
}

void TArrowButton::DrawDown(gui::TCanvas& canvas) {
    const int w = Width(), h = Height();
    DrawArrow(canvas, {{{w - 3, 3}, {w / 2, h - 3}, {3, 3}}},
              {{{w - 6, 5}, {w / 2, h - 6}, {5, 5}}});
}

// The rim is the 2-pixel inner band of the outer triangle's region, the same
// region presses are tested against; the face and its outline come next,
// then the bevel.
void TArrowButton::DrawArrow(gui::TCanvas& canvas, const Triangle& outer, const Triangle& inner) {
    canvas.Brush = {gui::clBlack, gui::bsSolid};
    canvas.Pen.Color = gui::clBlack;
    points_ = outer;
    hitRegion_ = gui::TRegion::FromPolygon(points_, gui::ALTERNATE);
    canvas.FrameRgn(*hitRegion_, canvas.Brush.Color, 2, 2);
    points_ = inner;
    canvas.Brush.Color = buttonColor_;
    canvas.Polygon(points_);
    DrawEdges(canvas);
}

// P0-P2 is the lit edge of the released button; pressed, it turns dark and
// the two dark edges sink into the face.
void TArrowButton::DrawEdges(gui::TCanvas& canvas) {
    const auto& [p0, p1, p2] = points_;
    canvas.Pen.Color = gui::clBlack;
    canvas.MoveTo(p0.X, p0.Y);
    if (!pressed_) {
        canvas.LineTo(p1.X, p1.Y);
        canvas.LineTo(p2.X, p2.Y);
        canvas.Pen.Color = gui::clWhite;
        canvas.MoveTo(p0.X, p0.Y);
        canvas.LineTo(p2.X, p2.Y);
        return;
    }
    canvas.LineTo(p2.X, p2.Y);
    canvas.Pen.Color = buttonColor_;
    canvas.MoveTo(p0.X, p0.Y);
    canvas.LineTo(p1.X, p1.Y);
    canvas.LineTo(p2.X, p2.Y);
}

void TArrowButton::WMButtonDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    if (button == gui::mbLeft) {
        // Outside the triangle (or before the first paint) the press does
        // not exist for the button: no capture, no click, no events.
        if (!hitRegion_ || !hitRegion_->Contains(x, y)) return;
        pressed_ = true;
        DrawEdges(Canvas());
    }
    TGraphicControl::WMButtonDown(button, shift, x, y);
}

void TArrowButton::WMButtonUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    if (button == gui::mbLeft) {
        if (!pressed_) return;
        pressed_ = false;
        DrawEdges(Canvas());
    }
    TGraphicControl::WMButtonUp(button, shift, x, y);
}

}  // namespace widgets
