// TWinControl: a control that holds child controls (panels, forms, the tray's
// notification window). Children paint in z-order (creation order), clipped
// to their bounds; aligned children follow the client area.
#pragma once

#include <vector>

#include "gui/Control.h"
#include "gui/Messages.h"

namespace gui {

class TApplication;

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    int ControlCount() const { return int(controls_.size()); }
    TControl& Controls(int i) const { return *controls_[std::size_t(i)]; }
    // The topmost visible child at a client point (enabled ones only when
    // asked); null when none.
    TControl* ControlAtPos(TPoint p, bool allowDisabled) const;

    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int w);
    // The area aligned children fill, in client coordinates.
    virtual TRect AlignRect() const;
    void Realign();

    // A window handle for messages addressed to this control: the native
    // window of a form, a handle from the application for other controls.
    virtual HWND Handle();
    bool HandleAllocated() const { return handle_ != 0; }
    // Messages sent to Handle(); the default ignores them.
    virtual void WndProc(TMsg& msg);

    void PaintTo(TCanvas& canvas) override;

protected:
    friend class TControl;
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    void PaintChildren(TCanvas& canvas);
    void BoundsChanged(const TRect& oldBounds) override;
    void FontChanged() override;
    void ColorChanged() override;
    HWND handle_ = 0;
    TApplication* handleApp_ = nullptr;

private:
    std::vector<TControl*> controls_;
    int borderWidth_ = 0;
};

}  // namespace gui
