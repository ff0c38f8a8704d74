#include "gui/Label.h"

#include "gui/Form.h"

namespace gui {

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    ControlStyle |= csOpaque;
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
}

void TLabel::SetAutoSize(bool v) {
    if (v == autoSize_) return;
    autoSize_ = v;
    AdjustBounds();
}

void TLabel::SetAlignment(TAlignment v) {
    if (v == alignment_) return;
    alignment_ = v;
    Invalidate();
}

void TLabel::SetLayout(TVerticalAlignment v) {
    if (v == layout_) return;
    layout_ = v;
    Invalidate();
}

void TLabel::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetShowAccelChar(bool v) {
    if (v == showAccelChar_) return;
    showAccelChar_ = v;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetTransparent(bool v) {
    if (v == transparent_) return;
    transparent_ = v;
    if (v)
        ControlStyle &= ~csOpaque;
    else
        ControlStyle |= csOpaque;
    Invalidate();
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    const TForm* form = ParentForm();
    if (autoSize_ && form && !form->Visible()) {
        SetBoundsPending();
        return;
    }
    AdjustBounds();
}

void TLabel::TextChanged() { AdjustBounds(); }

void TLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

unsigned TLabel::AlignmentFlags() const {
    switch (alignment_) {
        case taRightJustify: return DT_RIGHT;
        case taCenter: return DT_CENTER;
        default: return DT_LEFT;
    }
}

std::string TLabel::LabelText(unsigned flags) const {
    std::string text = Caption();
    if ((flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == "&"))) text += ' ';
    return text;
}

void TLabel::DoDrawText(TCanvas& canvas, TRect& rect, unsigned flags) {
    const std::string text = LabelText(flags);
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    canvas.Font = Font();
    if (Enabled() || (flags & DT_CALCRECT)) {
        canvas.DrawText(text, rect, flags);
        return;
    }
    TRect shifted = rect.Offset(1, 1);
    canvas.Font.SetColor(clBtnHighlight);
    canvas.DrawText(text, shifted, flags);
    canvas.Font.SetColor(clBtnShadow);
    canvas.DrawText(text, rect, flags);
}

void TLabel::Paint(TCanvas& canvas) {
    if (!transparent_) {
        canvas.Brush = {Color(), bsSolid};
        canvas.FillRect(ClientRect());
    }
    canvas.Brush.Style = bsClear;
    TRect rect = ClientRect();
    const unsigned flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | AlignmentFlags();
    if (layout_ != tlTop) {
        TRect calc = rect;
        DoDrawText(canvas, calc, flags | DT_CALCRECT);
        const int offset = layout_ == tlBottom ? rect.Height() - calc.Bottom
                                               : (rect.Height() - calc.Bottom) / 2;
        rect = rect.Offset(0, offset);
    }
    DoDrawText(canvas, rect, flags);
}

TRect TLabel::MeasureText() {
    TForm* form = ParentForm();
    TSurface scratch(1, 1);
    TCanvas canvas(scratch, form->Colors(), form->Fonts());
    TRect rect = ClientRect();
    DoDrawText(canvas, rect,
               DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0) | AlignmentFlags());
    return rect;
}

void TLabel::AdjustBounds() {
    if (!autoSize_ || (ComponentState() & csLoading) || !ParentForm()) return;
    const TRect measured = MeasureText();
    int x = Left();
    if (alignment_ == taRightJustify) x += Width() - measured.Right;
    SetBounds(x, Top(), measured.Right, measured.Bottom);
}

}  // namespace gui
