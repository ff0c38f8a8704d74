// TArrowButton: a windowless push button shaped as a triangle pointing up,
// right, left or down: a 2-pixel black rim inside the outer triangle, an
// inner triangle filled with ButtonColor and a one-pixel bevel on the inner
// triangle's edges. Outside the triangle it draws nothing, so its parent
// shows through.
//
// Only a left press inside the outer triangle (HitRegion, made by the last
// paint) presses the button; its release, wherever it happens, restores
// the released look and raises OnClick when it lies inside the button's
// rectangle. The button takes no double clicks, so the second press of a
// double click is an ordinary press and a quick double click clicks twice.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "gui/Control.h"
#include "gfx/Region.h"

namespace widgets {

enum TButtonDirection : std::uint8_t { arwUP = 0, arwRIGHT = 1, arwLEFT = 2, arwDOWN = 3 };

class TArrowButton : public gui::TGraphicControl {
public:
    explicit TArrowButton(gui::TComponent* owner);

    TButtonDirection Direction() const { return direction_; }
    void SetDirection(TButtonDirection direction);
    gui::TColor ButtonColor() const { return buttonColor_; }
    void SetButtonColor(gui::TColor color);

    // A left press that began inside the triangle has not been released.
    bool Pressed() const { return pressed_; }
    // The triangle's vertices: between paints the inner triangle, whose
    // edges carry the bevel.
    const std::array<gui::TPoint, 3>& Points() const { return points_; }
    // The outer triangle of the last paint; none before the first paint.
    const std::optional<gui::TRegion>& HitRegion() const { return hitRegion_; }

    // Left presses and releases (see above); other buttons get the standard
    // handling, which neither captures nor clicks for them.
    void WMButtonDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void WMButtonUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;

protected:
    void Paint(gui::TCanvas& canvas) override;
    // Draws the three bevel edges of the inner triangle for the current
    // Pressed state: during a paint on the paint canvas, on a press or
    // release straight onto the control's Canvas(), without a repaint.
    virtual void DrawEdges(gui::TCanvas& canvas);

private:
    using Triangle = std::array<gui::TPoint, 3>;

    void DrawUp(gui::TCanvas& canvas);
    void DrawRight(gui::TCanvas& canvas);
    void DrawLeft(gui::TCanvas& canvas);
    void DrawDown(gui::TCanvas& canvas);
    void DrawArrow(gui::TCanvas& canvas, const Triangle& outer, const Triangle& inner);
    void FreeRegion() { hitRegion_.reset(); }

    TButtonDirection direction_ = arwUP;
    gui::TColor buttonColor_ = gui::clTeal;
    bool pressed_ = false;
    Triangle points_{};
    std::optional<gui::TRegion> hitRegion_;
};

}  // namespace widgets
