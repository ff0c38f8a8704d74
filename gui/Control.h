// TControl: a visible element of a form: bounds in its parent, visibility,
// enabled state, colour and font, painting and mouse events.
//
// Mouse rules (applied by the form, see Form.cpp):
// - points reach a control in its own client coordinates;
// - a left press on a control with csCaptureMouse captures the pointer for it
//   until the left button is released; right and middle presses do not
//   capture, so their release reaches a control only over it;
// - enter/leave notices follow the pointer across control bounds, also
//   during a capture;
// - a control without csDoubleClicks gets the second press of a double click
//   as an ordinary press.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "gfx/Canvas.h"
#include "gui/Component.h"
#include "gfx/Font.h"
#include "gfx/Types.h"
#include "gui/DesignNames.h"

namespace gui {

class TWinControl;
class TForm;

using TNotifyEvent = std::function<void(TComponent* Sender)>;
using TMouseEvent =
    std::function<void(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TComponent* Sender, TShiftState Shift, int X, int Y)>;

// Files dragged from another program over a control (routed by its form).
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// X, Y in the control's client coordinates. Accept (false on entry) says
// whether a drop at the point would be taken; it is not read on a leave.
using TFileDragOverEvent =
    std::function<void(TComponent* Sender, int X, int Y, TDragState State, bool& Accept)>;
// The dropped files' paths, in the dragging program's order; Accept (false
// on entry) says whether the control took them.
using TFileDropEvent = std::function<void(TComponent* Sender, const std::vector<std::string>& Files,
                                          int X, int Y, bool& Accept)>;

using TControlStyle = std::uint32_t;
constexpr TControlStyle csCaptureMouse = 1u << 0;
constexpr TControlStyle csClickEvents = 1u << 1;
constexpr TControlStyle csDoubleClicks = 1u << 2;
constexpr TControlStyle csOpaque = 1u << 3;
constexpr TControlStyle csAcceptsControls = 1u << 4;

enum TAlign { alNone, alClient };

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // Parent and geometry (relative to the parent's client area).
    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    int Left() const { return CurrentBounds().Left; }
    int Top() const { return CurrentBounds().Top; }
    int Width() const { return CurrentBounds().Width(); }
    int Height() const { return CurrentBounds().Height(); }
    TRect BoundsRect() const { return CurrentBounds(); }
    TRect ClientRect() const { return {0, 0, Width(), Height()}; }
    void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
    void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
    void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
    void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    // Visible and every parent visible (a form counts when shown).
    bool Showing() const;

    TColor Color() const { return color_; }
    void SetColor(TColor c);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& f) { font_.Assign(f); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& text);

    TControlStyle ControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks;
    bool ShowHint = false;
    bool ParentShowHint = true;
    std::string Hint;
    int Cursor = 0;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    // Files dragged over the control and dropped on it (see TForm).
    TFileDragOverEvent OnFileDragOver;
    TFileDropEvent OnFileDrop;

    // Painting. Invalidate marks the control's area for the next paint
    // cycle; Repaint paints it now. Canvas() draws straight onto the form's
    // back buffer, clipped to the control (outside any paint cycle too).
    virtual void Invalidate();
    void InvalidateRect(const TRect& clientRect);
    virtual void Repaint();
    TCanvas& Canvas();
    // Paints the control (and its children) on `canvas`, whose origin is the
    // control's top-left corner and whose clip is already set.
    virtual void PaintTo(TCanvas& canvas);

    TForm* ParentForm() const;
    // The control's origin in its form's client coordinates.
    TPoint FormOrigin() const;
    TPoint ClientToScreen(TPoint p) const;

    // Message entry points used by the form's mouse routing.
    virtual void WMButtonDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void WMButtonDblClk(TMouseButton button, TShiftState shift, int x, int y);
    virtual void WMButtonUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void WMMouseMove(TShiftState shift, int x, int y);
    virtual void CMMouseEnter();
    virtual void CMMouseLeave();
    bool MouseCapture() const;
    void SetMouseCapture(bool capture);

    // Called when the parent's colour or font changes.
    virtual void ParentColorChanged();
    virtual void ParentFontChanged();

protected:
    virtual void Paint(TCanvas& canvas);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void TextChanged() {}
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void BoundsChanged(const TRect& oldBounds);
    void RequestAlign();
    void InheritFont();
    // A control whose bounds follow from something dear to compute (a
    // label's text, measured with its font) may put that off: the first
    // read or change of its bounds then calls ResolvePendingBounds.
    void SetBoundsPending() { boundsPending_ = true; }
    virtual void ResolvePendingBounds() {}

    bool clicked_ = false;  // a left press armed a click

private:
    const TRect& CurrentBounds() const {
        if (boundsPending_) const_cast<TControl*>(this)->ResolveBoundsNow();
        return bounds_;
    }
    void ResolveBoundsNow() {
        boundsPending_ = false;
        ResolvePendingBounds();
    }

    TWinControl* parent_ = nullptr;
    TRect bounds_;
    bool boundsPending_ = false;
    TAlign align_ = alNone;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    TFont font_;
    bool parentFont_ = true;
    bool inheritingFont_ = false;
    std::string caption_;
    std::unique_ptr<TSurface> scratch_;
    std::unique_ptr<TCanvas> canvas_;
};

// A control without a window of its own, drawn on its parent's surface.
class TGraphicControl : public TControl {
public:
    using TControl::TControl;
};

}  // namespace gui
