#include "gui/Control.h"

#include "gui/Form.h"
#include "gui/WinControl.h"

namespace gui {

TControl::TControl(TComponent* owner) : TComponent(owner) {
    font_.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
    if (TForm* form = ParentForm()) form->ControlDestroyed(this);
    if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent_) {
        Invalidate();
        if (TForm* form = ParentForm()) form->ControlDestroyed(this);
        parent_->RemoveControl(this);
    }
    parent_ = parent;
    if (!parent_) return;
    parent_->InsertControl(this);
    if (parentColor_) color_ = parent_->Color();
    if (parentFont_) InheritFont();
    RequestAlign();
    Invalidate();
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (boundsPending_) ResolveBoundsNow();  // what follows from it comes first, as if done at once
    const TRect next = Bounds(left, top, std::max(width, 0), std::max(height, 0));
    if (next == bounds_) return;
    const TRect old = bounds_;
    Invalidate();
    bounds_ = next;
    Invalidate();
    BoundsChanged(old);
}

void TControl::BoundsChanged(const TRect&) {}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    RequestAlign();
}

void TControl::RequestAlign() {
    if (align_ != alNone && parent_) parent_->Realign();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (!visible) Invalidate();
    visible_ = visible;
    if (visible) Invalidate();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Invalidate();
}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return ParentForm() != nullptr;
}

void TControl::SetColor(TColor c) {
    parentColor_ = false;
    if (c == color_) return;
    color_ = c;
    ColorChanged();
}

void TControl::ColorChanged() { Invalidate(); }

void TControl::SetParentColor(bool v) {
    parentColor_ = v;
    if (v && parent_) ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || !parent_ || color_ == parent_->Color()) return;
    color_ = parent_->Color();
    ColorChanged();
}

void TControl::SetParentFont(bool v) {
    parentFont_ = v;
    if (v && parent_) InheritFont();
}

void TControl::ParentFontChanged() {
    if (parentFont_ && parent_) InheritFont();
}

void TControl::InheritFont() {
    inheritingFont_ = true;
    font_.Assign(parent_->Font());
    inheritingFont_ = false;
}

void TControl::FontChanged() {
    if (!inheritingFont_) parentFont_ = false;
    Invalidate();
}

void TControl::SetCaption(const std::string& text) {
    if (text == caption_) return;
    caption_ = text;
    TextChanged();
    Invalidate();
}

TForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c->parent_) c = c->parent_;
    return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

TPoint TControl::FormOrigin() const {
    TPoint p{};
    for (const TControl* c = this; c->parent_; c = c->parent_) {
        p.X += c->Left();
        p.Y += c->Top();
    }
    return p;
}

TPoint TControl::ClientToScreen(TPoint p) const {
    const TPoint o = FormOrigin();
    TForm* form = ParentForm();
    if (!form) return {p.X + o.X, p.Y + o.Y};
    return {p.X + o.X + form->Left(), p.Y + o.Y + form->Top()};
}

void TControl::Invalidate() { InvalidateRect(ClientRect()); }

void TControl::InvalidateRect(const TRect& clientRect) {
    if (!visible_) return;
    TForm* form = ParentForm();
    if (!form) return;
    if (form == this) {
        form->InvalidateArea(clientRect);
        return;
    }
    const TPoint o = FormOrigin();
    form->InvalidateArea(clientRect.Offset(o.X, o.Y));
}

void TControl::Repaint() {
    TForm* form = ParentForm();
    if (!form || !Showing()) return;
    const TPoint o = FormOrigin();
    if (ControlStyle & csOpaque) {
        TCanvas& canvas = Canvas();
        TCanvas::StateSaver saved(canvas);
        PaintTo(canvas);
        return;
    }
    form->PaintAreaNow(ClientRect().Offset(o.X, o.Y));
}

TCanvas& TControl::Canvas() {
    TForm* form = ParentForm();
    if (!form) {
        // A control outside any form draws into a private scratch surface.
        if (!scratch_) scratch_ = std::make_unique<TSurface>(1, 1);
        if (!canvas_ || &canvas_->Target() != scratch_.get())
            canvas_ = std::make_unique<TCanvas>(*scratch_);
        return *canvas_;
    }
    if (!canvas_ || &canvas_->Target() != &form->BackBuffer())
        canvas_ = std::make_unique<TCanvas>(form->BackBuffer(), form->Colors(), form->Fonts());
    const TPoint o = FormOrigin();
    TRect visible = ClientRect().Offset(o.X, o.Y);
    for (const TControl* c = parent_; c && c->parent_; c = c->parent_) {
        const TPoint po = c->FormOrigin();
        visible = Intersect(visible, c->ClientRect().Offset(po.X, po.Y));
    }
    canvas_->SetOrigin({0, 0});
    canvas_->ResetClip();
    canvas_->IntersectClip(visible);
    canvas_->SetOrigin(o);
    form->MarkPresent(visible);
    return *canvas_;
}

void TControl::PaintTo(TCanvas& canvas) { Paint(canvas); }

void TControl::Paint(TCanvas&) {}

bool TControl::MouseCapture() const {
    TForm* form = ParentForm();
    return form && form->CaptureControl() == this;
}

void TControl::SetMouseCapture(bool capture) {
    TForm* form = ParentForm();
    if (!form) return;
    if (capture)
        form->SetCaptureControl(this);
    else if (form->CaptureControl() == this)
        form->SetCaptureControl(nullptr);
}

void TControl::WMButtonDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (ControlStyle & csCaptureMouse) SetMouseCapture(true);
        if (ControlStyle & csClickEvents) clicked_ = true;
    }
    MouseDown(button, shift | ShiftFlagOf(button), x, y);
}

void TControl::WMButtonDblClk(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (ControlStyle & csCaptureMouse) SetMouseCapture(true);
        auto alive = AliveToken();
        if (ControlStyle & csClickEvents) DblClick();
        if (!Alive(alive)) return;
    }
    MouseDown(button, shift | ShiftFlagOf(button) | ssDouble, x, y);
}

void TControl::WMButtonUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (ControlStyle & csCaptureMouse) SetMouseCapture(false);
        if (clicked_) {
            clicked_ = false;
            auto alive = AliveToken();
            if (ClientRect().Contains({x, y})) Click();
            if (!Alive(alive)) return;
        }
    }
    MouseUp(button, shift, x, y);
}

void TControl::WMMouseMove(TShiftState shift, int x, int y) { MouseMove(shift, x, y); }

void TControl::CMMouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::CMMouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

}  // namespace gui
