#include "gui/Panel.h"

#include "gfx/TextLayout.h"
#include "gui/DesignNames.h"

namespace gui {

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {
    ControlStyle |= csOpaque;
    SetBounds(0, 0, 185, 41);
}

void TPanel::SetBevelOuter(TPanelBevel v) {
    if (v == bevelOuter_) return;
    bevelOuter_ = v;
    Realign();
    Invalidate();
}

void TPanel::SetBevelInner(TPanelBevel v) {
    if (v == bevelInner_) return;
    bevelInner_ = v;
    Realign();
    Invalidate();
}

void TPanel::SetBevelWidth(int v) {
    if (v == bevelWidth_) return;
    bevelWidth_ = v;
    Realign();
    Invalidate();
}

TRect TPanel::AlignRect() const {
    int inset = BorderWidth();
    if (bevelOuter_ != bvNone) inset += bevelWidth_;
    if (bevelInner_ != bvNone) inset += bevelWidth_;
    const TRect r = ClientRect();
    return {r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset};
}

void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
    rect.Right -= 1;
    rect.Bottom -= 1;
    for (; width > 0; --width) {
        canvas.Pen.Color = topColor;
        canvas.MoveTo(rect.Left, rect.Bottom);
        canvas.LineTo(rect.Left, rect.Top);
        canvas.LineTo(rect.Right, rect.Top);
        canvas.Pen.Color = bottomColor;
        canvas.LineTo(rect.Right, rect.Bottom);
        canvas.LineTo(rect.Left - 1, rect.Bottom);
        rect = {rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1};
    }
    rect.Right += 1;
    rect.Bottom += 1;
}

void TPanel::Paint(TCanvas& canvas) {
    TRect r = ClientRect();
    auto bevel = [&](TPanelBevel b) {
        if (b == bvNone) return;
        const bool raised = b == bvRaised;
        Frame3D(canvas, r, raised ? clBtnHighlight : clBtnShadow,
                raised ? clBtnShadow : clBtnHighlight, bevelWidth_);
    };
    bevel(bevelOuter_);
    Frame3D(canvas, r, Color(), Color(), BorderWidth());
    bevel(bevelInner_);
    canvas.Brush = {Color(), bsSolid};
    canvas.FillRect(r);
    if (Caption().empty()) return;
    canvas.Brush.Style = bsClear;
    canvas.Font = Font();
    TRect text = r;
    canvas.DrawText(Caption(), text, DT_EXPANDTABS | DT_VCENTER | DT_CENTER | DT_SINGLELINE);
}

}  // namespace gui
