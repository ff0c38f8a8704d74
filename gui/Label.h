// TLabel: a text label; it can size itself to its text. A label loaded on
// a hidden form is measured when its bounds are first needed (read, shown,
// changed) or its text or font changes: measuring opens fonts, which a
// window that may never be shown need not pay for at start-up.
#pragma once

#include "gui/Control.h"
#include "gfx/TextLayout.h"
#include "gui/DesignNames.h"

namespace gui {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TVerticalAlignment { tlTop, tlCenter, tlBottom };

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    TVerticalAlignment Layout() const { return layout_; }
    void SetLayout(TVerticalAlignment v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);

    // Sizes the label to its text now (when AutoSize is on).
    void AdjustBounds();

protected:
    void Paint(TCanvas& canvas) override;
    void Loaded() override;
    void TextChanged() override;
    void FontChanged() override;
    void ResolvePendingBounds() override { AdjustBounds(); }
    // Draws (or with DT_CALCRECT measures) the caption into `rect`.
    virtual void DoDrawText(TCanvas& canvas, TRect& rect, unsigned flags);
    // The text to draw: the caption, with a blank for an empty one when
    // measuring.
    std::string LabelText(unsigned flags) const;
    unsigned AlignmentFlags() const;
    // Measures the plain text into `rect` with a canvas that has the fonts.
    virtual TRect MeasureText();

private:
    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    TVerticalAlignment layout_ = tlTop;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    bool transparent_ = false;
};

}  // namespace gui
