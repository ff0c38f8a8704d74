// TkestBlotter: a container panel that paints itself as a desk blotter — a
// board in the panel's Color, ruled along all four edges in black and
// silver, with an olive corner piece with yellow highlights in each corner.
//
// Apart from its picture it is the standard panel: it holds children and
// raises the panel's mouse and click events. The panel's bevels and Caption
// are never drawn; BorderWidth and the bevel settings only move aligned
// children. Only the board follows Color; rules and corners are fixed.
#pragma once

#include "gui/Panel.h"

namespace widgets {

class TkestBlotter : public gui::TPanel {
public:
    explicit TkestBlotter(gui::TComponent* owner);

protected:
    // Draws the whole picture every time; the canvas clip drops whatever
    // falls outside the panel or the area being repainted.
    void Paint(gui::TCanvas& canvas) override;
    void BoundsChanged(const gui::TRect& oldBounds) override;
};

}  // namespace widgets
