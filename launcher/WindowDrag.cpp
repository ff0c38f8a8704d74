#include "launcher/WindowDrag.h"

namespace launcher {

using namespace gui;

void TWindowDrag::Attach(TControl& handle) {
    const auto inForm = [&handle](int x, int y) {
        const TPoint o = handle.FormOrigin();
        return TPoint{o.X + x, o.Y + y};
    };
    handle.OnMouseDown = [this, inForm](TComponent*, TMouseButton button, TShiftState, int x,
                                        int y) { Press(button, inForm(x, y)); };
    handle.OnMouseMove = [this, inForm](TComponent*, TShiftState, int x, int y) {
        Move(inForm(x, y));
    };
    handle.OnMouseUp = [this](TComponent*, TMouseButton button, TShiftState, int, int) {
        Release(button);
    };
}

void TWindowDrag::Press(TMouseButton button, TPoint p) {
    if (button != mbLeft) return;
    dragging_ = true;
    pressed_ = p;
    // A window manager that places windows only itself moves it instead.
    if (form_.BeginSystemMove()) dragging_ = false;
}

void TWindowDrag::Move(TPoint p) {
    if (!dragging_) return;
    // A manager found out during this drag to ignore the moves below takes
    // the rest of it.
    if (form_.BeginSystemMove()) {
        dragging_ = false;
        return;
    }
    // The pressed point stays under the pointer: the move on the screen is
    // the move in the form times the screen pixels per pixel of the form.
    const int scale = form_.PixelScale();
    form_.SetLeft(form_.Left() + (p.X - pressed_.X) * scale);
    form_.SetTop(form_.Top() + (p.Y - pressed_.Y) * scale);
}

void TWindowDrag::Release(TMouseButton button) {
    if (button == mbLeft)
        dragging_ = false;
    else
        form_.Close();
}

}  // namespace launcher
