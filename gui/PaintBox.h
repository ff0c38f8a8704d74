// TPaintBox: an area whose owner draws on its canvas; it has no picture of
// its own, so without an OnPaint handler its parent shows through.
#pragma once

#include "gui/Control.h"

namespace gui {

class TPaintBox : public TGraphicControl {
public:
    explicit TPaintBox(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 105, 105); }
    TNotifyEvent OnPaint;

protected:
    void Paint(TCanvas&) override {
        if (OnPaint) OnPaint(this);
    }
};

}  // namespace gui
