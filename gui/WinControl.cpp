#include "gui/WinControl.h"

#include <algorithm>

#include "gui/Application.h"
#include "gui/Form.h"

namespace gui {

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    ControlStyle |= csAcceptsControls;
}

TWinControl::~TWinControl() {
    // Children that outlive us (owned elsewhere) lose their parent.
    while (!controls_.empty()) controls_.back()->SetParent(nullptr);
    if (handle_ != 0 && handleApp_) handleApp_->ReleaseHandle(handle_);
}

void TWinControl::InsertControl(TControl* c) { controls_.push_back(c); }

void TWinControl::RemoveControl(TControl* c) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
        if (c->BoundsRect().Contains(p)) return c;
    }
    return nullptr;
}

void TWinControl::SetBorderWidth(int w) {
    if (w == borderWidth_) return;
    borderWidth_ = w;
    Realign();
    Invalidate();
}

TRect TWinControl::AlignRect() const {
    const TRect r = ClientRect();
    return {r.Left + borderWidth_, r.Top + borderWidth_, r.Right - borderWidth_,
            r.Bottom - borderWidth_};
}

void TWinControl::Realign() {
    const TRect area = AlignRect();
    for (TControl* c : controls_)
        if (c->Align() == alClient)
            c->SetBounds(area.Left, area.Top, area.Width(), area.Height());
}

void TWinControl::BoundsChanged(const TRect& oldBounds) {
    if (oldBounds.Width() != Width() || oldBounds.Height() != Height()) Realign();
}

HWND TWinControl::Handle() {
    if (handle_ == 0) {
        // Remembered: while the owner is being destroyed we can no longer
        // find the application through it, but must still release.
        handleApp_ = Application();
        if (handleApp_) handle_ = handleApp_->AllocateHandle(this);
    }
    return handle_;
}

void TWinControl::WndProc(TMsg&) {}

void TWinControl::PaintTo(TCanvas& canvas) {
    if (!(ControlStyle & csOpaque)) canvas.Target().FillRect(
        Intersect(ClientRect().Offset(canvas.Origin().X, canvas.Origin().Y),
                  canvas.ClipRect().Offset(canvas.Origin().X, canvas.Origin().Y)),
        canvas.Resolve(Color()));
    Paint(canvas);
    PaintChildren(canvas);
}

void TWinControl::PaintChildren(TCanvas& canvas) {
    const TRect clip = canvas.ClipRect();
    // Copy: a paint handler must not reorder our list under us, but be safe.
    const std::vector<TControl*> children = controls_;
    for (TControl* c : children) {
        if (!c->Visible()) continue;
        const TRect r = c->BoundsRect();
        if (Intersect(r, clip).IsEmpty()) continue;
        TCanvas::StateSaver saved(canvas);
        if (c->ControlStyle & csOpaque) {
            // The parent's drawing leaves an opaque child out; only the
            // background erase reaches its bounds.
            canvas.Brush = {Color(), bsSolid};
            canvas.FillRect(r);
        }
        const TPoint o = canvas.Origin();
        canvas.SetOrigin({o.X + r.Left, o.Y + r.Top});
        canvas.IntersectClip(c->ClientRect());
        canvas.Pen = TPen{};
        canvas.Brush = TBrush{};
        canvas.Font = c->Font();
        c->PaintTo(canvas);
    }
}

void TWinControl::ColorChanged() {
    TControl::ColorChanged();
    for (TControl* c : controls_) c->ParentColorChanged();
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    for (TControl* c : controls_) c->ParentFontChanged();
}

}  // namespace gui
