// TVeltoButton: a flat push button drawn by the program itself: a rounded
// face in the parent's colour, a 7 x 7 lamp near the left edge whose colour
// tells the state, and a caption centred in the face and pushed right by
// Space.
//
// Three looks follow from two flags: rest (the mouse is elsewhere: no frame,
// LedOffColor), raised (MouseIn: a BorderColor frame with a ShadowColor
// shadow, LedOnColor, lamp and caption one pixel up and left) and sunk
// (MouseIn and Pressed: the frame one pixel down and right, no shadow,
// LedDownColor). Every look paints the same area, so the button repaints
// at once straight over the previous look without clearing (it is opaque).
//
// The button keeps an Enabled flag of its own: the control underneath stays
// enabled, so mouse input keeps arriving and a disabled button filters it in
// its handlers (it still raises OnMouseMove and OnDblClick).
//
// Every press, of any mouse button, captures the pointer until all buttons
// pressed on the control are released, so a release outside the button
// still reaches it and ends the sunk state. (Only the left press would
// capture by default; a right or middle press released outside would leave
// Pressed set and the next visit would show the button held down.)
#pragma once

#include <cstdint>
#include <string>

#include "gui/Control.h"

namespace widgets {

class TVeltoButton : public gui::TGraphicControl {
public:
    explicit TVeltoButton(gui::TComponent* owner);

    gui::TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(gui::TColor v);
    gui::TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(gui::TColor v);
    gui::TColor LedOffColor() const { return ledOffColor_; }
    void SetLedOffColor(gui::TColor v);
    gui::TColor LedOnColor() const { return ledOnColor_; }
    void SetLedOnColor(gui::TColor v);
    gui::TColor LedDownColor() const { return ledDownColor_; }
    void SetLedDownColor(gui::TColor v);
    int LedPosition() const { return ledPosition_; }
    void SetLedPosition(int v);
    int Space() const { return space_; }
    void SetSpace(int v);
    int RoundSize() const { return roundSize_; }
    void SetRoundSize(int v);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& v);

    // The button's own flag; the base control stays enabled (see above).
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v) override;

    // The button's own font, without change notification: changing one of
    // its attributes shows at the next repaint. SetFont copies into it.
    gui::TFont& Font() { return font_; }
    const gui::TFont& Font() const { return font_; }
    void SetFont(const gui::TFont& f);

    bool MouseIn() const { return mouseIn_; }
    bool Pressed() const { return pressed_; }
    std::uint16_t PressOffset() const { return pressOffset_; }

    // Mouse entry points (see Control.h for the routing).
    void WMButtonDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void WMButtonDblClk(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void WMButtonUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void WMMouseMove(gui::TShiftState shift, int x, int y) override;
    void CMMouseEnter() override;
    void CMMouseLeave() override;

protected:
    void Paint(gui::TCanvas& canvas) override;
    // The press step, the click step and the release step.
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void Click() override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;

private:
    enum class Look { Rest, Raised, Sunk };
    Look CurrentLook() const;
    void DrawFrame(gui::TCanvas& canvas, Look look, gui::TColor face);
    void DrawLamp(gui::TCanvas& canvas, Look look);
    void DrawCaption(gui::TCanvas& canvas, Look look, gui::TColor face);
    // Stores `value` into `field` and repaints when it differs.
    template <class T>
    void Change(T& field, const T& value);

    void HoldCapture(gui::TMouseButton button);
    void ReleaseCapture(gui::TMouseButton button);

    gui::TColor borderColor_ = gui::clWhite;
    gui::TColor shadowColor_ = gui::clGray;
    gui::TColor ledOffColor_ = gui::clSilver;
    gui::TColor ledOnColor_ = gui::clNavy;
    gui::TColor ledDownColor_ = gui::clLime;
    int roundSize_ = 20;
    int ledPosition_ = roundSize_ / 2;
    int space_ = roundSize_ / 2;
    std::string caption_ = "Velto Button";
    bool enabled_ = true;
    gui::TFont font_;

    bool mouseIn_ = false;
    bool pressed_ = false;
    std::uint16_t pressOffset_ = 0;
    // Mouse buttons pressed on the button while it holds the capture.
    gui::TShiftState held_ = 0;
};

}  // namespace widgets
