// TShadowLabel: a text label that draws its caption up to three times: a
// shadow copy, a highlight copy over it, each moved by its own offset and in
// its own colour, and the text itself on top. The background is the label's
// Color, a two-colour gradient from GradationColor to Color (left to right,
// or top to bottom with GradateVert), or nothing when Transparent. Text that
// does not fit can end in an ellipsis or have one inside a path.
//
// Apart from the painting it is the standard label: caption, alignment,
// layout, word wrap, accelerator prefixes, transparency, font, colour and
// automatic sizing, which measures the plain text only (one copy, no
// offsets, no ellipsis), so a copy moved outside the bounds is clipped.
//
// Property changes invalidate, so a burst of them costs one paint.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "gui/Label.h"
#include "gui/Persistent.h"

namespace widgets {

// One copy of a shadow label's text: shown or not, its colour and its
// offset from the text. Setters raise OnChange only when a value changes;
// Assign from another TShadow copies the four values (not OnChange) and
// raises OnChange once, changed or not. A bare TShadow is hidden, black and
// not moved; its owner sets the values it wants.
class TShadow : public gui::TPersistent {
public:
    using TChangeEvent = std::function<void(TShadow* Sender)>;

    std::string ClassName() const override { return "TShadow"; }
    // Any source but a TShadow (null included) throws gui::EConvertError
    // and leaves the values alone.
    void Assign(const gui::TPersistent* source) override;

    bool Visible() const { return visible_; }
    void SetVisible(bool v) { Change(visible_, v); }
    gui::TColor Color() const { return color_; }
    void SetColor(gui::TColor v) { Change(color_, v); }
    int OffsetLeft() const { return offsetLeft_; }
    void SetOffsetLeft(int v) { Change(offsetLeft_, v); }
    int OffsetTop() const { return offsetTop_; }
    void SetOffsetTop(int v) { Change(offsetTop_, v); }

    TChangeEvent OnChange;

private:
    template <class T>
    void Change(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Changed();
    }
    void Changed() {
        if (OnChange) OnChange(this);
    }

    bool visible_ = false;
    gui::TColor color_ = gui::clBlack;
    int offsetLeft_ = 0;
    int offsetTop_ = 0;
};

enum TEllipsis : std::uint8_t { elNone = 0, elEnd = 1, elPath = 2 };

class TShadowLabel : public gui::TLabel {
public:
    explicit TShadowLabel(gui::TComponent* owner);
    ~TShadowLabel() override;

    TEllipsis Ellipsis() const { return ellipsis_; }
    void SetEllipsis(TEllipsis v);
    bool GradateVert() const { return gradateVert_; }
    void SetGradateVert(bool v);
    bool Gradation() const { return gradation_; }
    void SetGradation(bool v);
    gui::TColor GradationColor() const { return gradationColor_; }
    void SetGradationColor(gui::TColor v);

    // The label keeps its own two objects for life; the setters copy the
    // values of `v` into them (null is ignored) and invalidate.
    TShadow& Highlight() { return *highlight_; }
    void SetHighlight(const TShadow* v);
    TShadow& Shadow() { return *shadow_; }
    void SetShadow(const TShadow* v);

protected:
    void Paint(gui::TCanvas& canvas) override;

private:
    template <class T>
    void Change(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Invalidate();
    }
    void AssignCopy(TShadow& own, const TShadow* v);
    void ShadowChanged(TShadow*) { Invalidate(); }
    // The text to paint: an empty caption, or a lone accelerator "&", gets
    // a blank so that it still has one line's height.
    std::string PaintText() const;
    unsigned PaintFlags() const;
    void PaintBackground(gui::TCanvas& canvas, const gui::TRect& rect);
    int LayoutOffset(int textHeight) const;

    TEllipsis ellipsis_ = elNone;
    bool gradateVert_ = false;
    bool gradation_ = false;
    gui::TColor gradationColor_ = gui::clBlack;
    std::unique_ptr<TShadow> highlight_;
    std::unique_ptr<TShadow> shadow_;
};

// Fills `dest` with a gradient from `startColor` (left column, or top row
// when `vertical`) to `endColor` (right column or bottom row), one step per
// column or row, each channel truncated toward zero from start + (end -
// start) * t with t = i / (n - 1) in double precision and the product and
// sum in extended precision. The gradient is computed into a small image
// (1 x DH vertical, DW x (DH div 20 + 1) horizontal) that one stretched
// copy puts onto `dest`. A single row (vertical) or column (horizontal)
// takes the start colour; an empty `dest` paints nothing.
void DrawGradation(gui::TCanvas& canvas, const gui::TRect& dest, gui::TColor startColor,
                   gui::TColor endColor, bool vertical);

// The image DrawGradation stretches onto a destination of `width` x
// `height` pixels, for colours already resolved to pixels.
gui::TSurface GradationImage(gui::TPixel start, gui::TPixel end, int width, int height,
                             bool vertical);

}  // namespace widgets
