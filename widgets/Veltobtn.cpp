#include "widgets/Veltobtn.h"

#include <array>

namespace widgets {

using namespace gui;

namespace {

bool Alive(const std::weak_ptr<void>& token) {
    return !token.expired();
}

constexpr int kLampSize = 7;

struct LampDot {
    int Col;
    int Row;
};

// The lamp's rim: shadow on the upper left, highlight on the lower right
// and the glint at (2, 3) last, so it stays over the rim it touches.
constexpr std::array<LampDot, 8> kLampShadow{
    {{2, 0}, {3, 0}, {4, 0}, {1, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 5}}};
constexpr std::array<LampDot, 9> kLampHighlight{
    {{5, 1}, {6, 2}, {6, 3}, {6, 4}, {5, 5}, {2, 6}, {3, 6}, {4, 6}, {2, 3}}};
// The lit body, row by row from the top, left to right.
constexpr std::array<LampDot, 20> kLampBody{{{2, 1}, {3, 1}, {4, 1}, {1, 2}, {2, 2}, {3, 2}, {4, 2},
                                             {5, 2}, {1, 3}, {3, 3}, {4, 3}, {5, 3}, {1, 4}, {2, 4},
                                             {3, 4}, {4, 4}, {5, 4}, {2, 5}, {3, 5}, {4, 5}}};

enum class FramePen { Face, Shadow, Border };

// One round rectangle of a look: its pen, its top-left corner and its
// bottom-right corner relative to (W, H).
struct FrameRect {
    FramePen Pen;
    int X1, Y1, X2, Y2;
};
using Frame = std::array<FrameRect, 3>;

constexpr FramePen F = FramePen::Face, S = FramePen::Shadow, B = FramePen::Border;
constexpr Frame kRestFrame{{{F, 0, 0, -1, -1}, {F, 1, 1, 0, 0}, {F, 2, 2, -1, -1}}};
constexpr Frame kRaisedFrame{{{S, 1, 1, 0, 0}, {B, 0, 0, -1, -1}, {F, 1, 1, -2, -2}}};
constexpr Frame kSunkFrame{{{F, 0, 0, -1, -1}, {B, 1, 1, 0, 0}, {F, 2, 2, -1, -1}}};

}  // namespace

TVeltoButton::TVeltoButton(TComponent* owner) : TGraphicControl(owner) {
    ControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks;
    // A form designer must see the parent behind the button while editing.
    if (!(ComponentState() & csDesigning)) ControlStyle |= csOpaque;
    SetParentColor(true);
    SetParentFont(false);
    SetBounds(Left(), Top(), 100, 25);
}

// ------------------------------------------------------------ properties

template <class T>
void TVeltoButton::Change(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Repaint();
}

void TVeltoButton::SetBorderColor(TColor v) {
    Change(borderColor_, v);
}
void TVeltoButton::SetShadowColor(TColor v) {
    Change(shadowColor_, v);
}
void TVeltoButton::SetLedOffColor(TColor v) {
    Change(ledOffColor_, v);
}
void TVeltoButton::SetLedOnColor(TColor v) {
    Change(ledOnColor_, v);
}
void TVeltoButton::SetLedDownColor(TColor v) {
    Change(ledDownColor_, v);
}
void TVeltoButton::SetLedPosition(int v) {
    Change(ledPosition_, v);
}
void TVeltoButton::SetSpace(int v) {
    Change(space_, v);
}
void TVeltoButton::SetRoundSize(int v) {
    Change(roundSize_, v);
}
void TVeltoButton::SetCaption(const std::string& v) {
    Change(caption_, v);
}

void TVeltoButton::SetFont(const TFont& f) {
    if (&f == &font_) return;
    font_.Assign(f);
    Repaint();
}

void TVeltoButton::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    mouseIn_ = false;
    pressed_ = false;
    pressOffset_ = 0;
    Repaint();
}

// ------------------------------------------------------------ painting

TVeltoButton::Look TVeltoButton::CurrentLook() const {
    if (!mouseIn_) return Look::Rest;
    return pressed_ ? Look::Sunk : Look::Raised;
}

void TVeltoButton::Paint(TCanvas& canvas) {
    const TColor face = Color();
    const Look look = CurrentLook();
    canvas.Brush = {face, bsSolid};
    canvas.Font = font_;
    DrawFrame(canvas, look, face);
    DrawLamp(canvas, look);
    DrawCaption(canvas, look, face);
}

// Three overlapping round rectangles whose union is the same in every look,
// so each look covers whatever the previous one left.
void TVeltoButton::DrawFrame(TCanvas& canvas, Look look, TColor face) {
    const Frame& frame = look == Look::Rest     ? kRestFrame
                         : look == Look::Raised ? kRaisedFrame
                                                : kSunkFrame;
    for (const FrameRect& r : frame) {
        canvas.Pen.Color = r.Pen == FramePen::Face     ? face
                           : r.Pen == FramePen::Shadow ? shadowColor_
                                                       : borderColor_;
        canvas.RoundRect(r.X1, r.Y1, Width() + r.X2, Height() + r.Y2, roundSize_, roundSize_);
    }
}

void TVeltoButton::DrawLamp(TCanvas& canvas, Look look) {
    const int lift = mouseIn_ ? 1 : 0;
    const int lx = ledPosition_ + pressOffset_ - lift;
    const int ly = (Height() - kLampSize) / 2 + pressOffset_ - lift;
    const TColor lit = look == Look::Rest     ? ledOffColor_
                       : look == Look::Raised ? ledOnColor_
                                              : ledDownColor_;
    for (const LampDot& d : kLampShadow) canvas.SetPixel(lx + d.Col, ly + d.Row, clBtnShadow);
    for (const LampDot& d : kLampHighlight) canvas.SetPixel(lx + d.Col, ly + d.Row, clBtnHighlight);
    for (const LampDot& d : kLampBody) canvas.SetPixel(lx + d.Col, ly + d.Row, lit);
}

// The caption's cell is filled with the face colour and may cover the lamp
// and the frame where they meet.
void TVeltoButton::DrawCaption(TCanvas& canvas, Look look, TColor face) {
    if (!enabled_) canvas.Font.SetColor(clGrayText);
    const int t = look == Look::Raised ? 0 : 1;
    const int x = (Width() - canvas.TextWidth(caption_)) / 2 + space_ + t;
    const int y = (Height() - canvas.TextHeight(caption_)) / 2 + t;
    canvas.Brush = {face, bsSolid};
    canvas.TextOut(x, y, caption_);
}

// ------------------------------------------------------------ mouse

void TVeltoButton::HoldCapture(TMouseButton button) {
    // Without the capture no earlier press is still being followed (the
    // form drops it when hidden, for one).
    if (!MouseCapture()) held_ = 0;
    held_ |= ShiftFlagOf(button);
    SetMouseCapture(true);
}

void TVeltoButton::ReleaseCapture(TMouseButton button) {
    held_ &= ~ShiftFlagOf(button);
    if (held_ == 0) SetMouseCapture(false);
}

void TVeltoButton::WMButtonDown(TMouseButton button, TShiftState shift, int x, int y) {
    pressed_ = false;
    if (!enabled_) return;
    HoldCapture(button);
    TGraphicControl::WMButtonDown(button, shift, x, y);
}

// The second press of a double click: OnDblClick (left only, even when
// disabled, through the base handling), then the press step. Pressed is
// not cleared first and no click is armed.
void TVeltoButton::WMButtonDblClk(TMouseButton button, TShiftState shift, int x, int y) {
    if (enabled_) HoldCapture(button);
    TGraphicControl::WMButtonDblClk(button, shift, x, y);
}

void TVeltoButton::WMButtonUp(TMouseButton button, TShiftState shift, int x, int y) {
    ReleaseCapture(button);
    if (button == mbLeft && clicked_) {
        clicked_ = false;
        if (ClientRect().Contains({x, y})) {
            auto alive = AliveToken();
            Click();
            if (!Alive(alive)) return;
        }
    }
    MouseUp(button, shift, x, y);
}

void TVeltoButton::WMMouseMove(TShiftState shift, int x, int y) {
    // Covers a pointer that appears inside without an enter notice.
    if (enabled_ && !mouseIn_ && ClientRect().Contains({x, y})) {
        mouseIn_ = true;
        Repaint();
    }
    TGraphicControl::WMMouseMove(shift, x, y);
}

void TVeltoButton::CMMouseEnter() {
    if (!enabled_) return;
    mouseIn_ = true;
    pressOffset_ = pressed_ ? 1 : 0;
    Repaint();
    TGraphicControl::CMMouseEnter();
}

void TVeltoButton::CMMouseLeave() {
    if (!enabled_) return;
    mouseIn_ = false;
    pressOffset_ = 0;
    Repaint();
    TGraphicControl::CMMouseLeave();
}

void TVeltoButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (!enabled_) return;
    mouseIn_ = true;
    pressed_ = true;
    pressOffset_ = 1;
    Repaint();
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TVeltoButton::Click() {
    if (enabled_) TGraphicControl::Click();
}

void TVeltoButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (!enabled_) return;
    pressed_ = false;
    pressOffset_ = 0;
    Repaint();
    TGraphicControl::MouseUp(button, shift, x, y);
}

}  // namespace widgets
