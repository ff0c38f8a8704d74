// TPanel: a container with a bevelled frame, a border and a caption.
#pragma once

#include "gui/WinControl.h"

namespace gui {

enum TPanelBevel { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* owner);

    TPanelBevel BevelOuter() const { return bevelOuter_; }
    TPanelBevel BevelInner() const { return bevelInner_; }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelOuter(TPanelBevel v);
    void SetBevelInner(TPanelBevel v);
    void SetBevelWidth(int v);

    TRect AlignRect() const override;

protected:
    void Paint(TCanvas& canvas) override;

private:
    TPanelBevel bevelOuter_ = bvRaised;
    TPanelBevel bevelInner_ = bvNone;
    int bevelWidth_ = 1;
};

// Draws `width` nested one-pixel frames inside `rect`: top and left edges in
// `topColor`, bottom and right edges in `bottomColor`; shrinks `rect` by
// the frames drawn.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

}  // namespace gui
