#include "widgets/ShadoLbl.h"

#include <algorithm>

namespace widgets {

using namespace gui;

// ------------------------------------------------------------ TShadow

void TShadow::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TShadow*>(source);
    if (!other) return TPersistent::Assign(source);
    visible_ = other->visible_;
    color_ = other->color_;
    offsetLeft_ = other->offsetLeft_;
    offsetTop_ = other->offsetTop_;
    Changed();
}

// ------------------------------------------------------------ TShadowLabel

// The values are set before OnChange is wired, so construction raises no
// change events.
TShadowLabel::TShadowLabel(TComponent* owner)
    : TLabel(owner), highlight_(std::make_unique<TShadow>()) {
    highlight_->SetVisible(true);
    highlight_->SetColor(clWhite);
    highlight_->SetOffsetLeft(-1);
    highlight_->SetOffsetTop(-1);
    highlight_->OnChange = [this](TShadow* s) { ShadowChanged(s); };
    shadow_ = std::make_unique<TShadow>();
    shadow_->SetVisible(true);
    shadow_->SetColor(clSilver);
    shadow_->SetOffsetLeft(1);
    shadow_->SetOffsetTop(1);
    shadow_->OnChange = [this](TShadow* s) { ShadowChanged(s); };
}

TShadowLabel::~TShadowLabel() {
    highlight_.reset();
    shadow_.reset();
}

void TShadowLabel::SetEllipsis(TEllipsis v) {
    Change(ellipsis_, v);
}
void TShadowLabel::SetGradateVert(bool v) {
    Change(gradateVert_, v);
}
void TShadowLabel::SetGradation(bool v) {
    Change(gradation_, v);
}
void TShadowLabel::SetGradationColor(TColor v) {
    Change(gradationColor_, v);
}
void TShadowLabel::SetHighlight(const TShadow* v) {
    AssignCopy(*highlight_, v);
}
void TShadowLabel::SetShadow(const TShadow* v) {
    AssignCopy(*shadow_, v);
}

// Assign raises the object's OnChange (normally our invalidation); the
// label invalidates once more in case that handler was replaced.
void TShadowLabel::AssignCopy(TShadow& own, const TShadow* v) {
    if (!v) return;
    own.Assign(v);
    Invalidate();
}

std::string TShadowLabel::PaintText() const {
    std::string text = Caption();
    if (text.empty() || (ShowAccelChar() && text == "&")) text += ' ';
    return text;
}

unsigned TShadowLabel::PaintFlags() const {
    unsigned flags = DT_EXPANDTABS | AlignmentFlags();
    if (WordWrap()) flags |= DT_WORDBREAK;
    if (!ShowAccelChar()) flags |= DT_NOPREFIX;
    if (ellipsis_ == elEnd) flags |= DT_END_ELLIPSIS;
    if (ellipsis_ == elPath) flags |= DT_PATH_ELLIPSIS;
    return flags;
}

void TShadowLabel::PaintBackground(TCanvas& canvas, const TRect& rect) {
    if (gradation_) {
        DrawGradation(canvas, rect, gradationColor_, Color(), gradateVert_);
        return;
    }
    canvas.Brush = {Color(), bsSolid};
    canvas.FillRect(rect);
}

// How far the text moves down for the vertical layout; negative when the
// text is taller than the label.
int TShadowLabel::LayoutOffset(int textHeight) const {
    switch (Layout()) {
        case tlCenter:
            return (Height() - textHeight) / 2;
        case tlBottom:
            return Height() - textHeight;
        default:
            return 0;
    }
}

void TShadowLabel::Paint(TCanvas& canvas) {
    const std::string text = PaintText();
    const unsigned flags = PaintFlags();
    if (!Transparent()) PaintBackground(canvas, ClientRect());
    canvas.Font = Font();
    canvas.Brush.Style = bsClear;

    TRect measured = ClientRect();
    canvas.DrawText(text, measured, flags | DT_CALCRECT);
    TRect rect = ClientRect().Offset(0, LayoutOffset(measured.Height()));
    TRect highlightRect = rect.Offset(highlight_->OffsetLeft(), highlight_->OffsetTop());
    TRect shadowRect = rect.Offset(shadow_->OffsetLeft(), shadow_->OffsetTop());

    const bool enabled = Enabled();
    if (shadow_->Visible()) {
        canvas.Font.SetColor(enabled ? shadow_->Color() : clGray);
        canvas.DrawText(text, shadowRect, flags);
    }
    if (highlight_->Visible()) {
        canvas.Font.SetColor(enabled ? highlight_->Color() : clBtnHighlight);
        canvas.DrawText(text, highlightRect, flags);
    }
    canvas.Font.SetColor(enabled ? Font().Color() : clBtnShadow);
    canvas.DrawText(text, rect, flags);
}

// ------------------------------------------------------------ DrawGradation

namespace {

struct Channels {
    int R, G, B;
};

Channels Split(TPixel p) {
    return {int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF)};
}

// One interpolation step. The product and the sum are formed in extended
// precision, as the pictures were first made: plain double arithmetic
// rounds some values up to the next integer before the truncation (black
// to white over 4 rows would give 0x55 instead of 0x54).
std::uint8_t Step(std::int16_t diff, double t, int start) {
    const long double value = static_cast<long double>(diff) * static_cast<long double>(t) +
                              static_cast<long double>(start);
    return std::uint8_t(static_cast<long long>(value));  // truncates toward zero
}

class Ramp {
public:
    Ramp(TPixel start, TPixel end) : from_(Split(start)) {
        const Channels to = Split(end);
        dr_ = std::int16_t(to.R - from_.R);
        dg_ = std::int16_t(to.G - from_.G);
        db_ = std::int16_t(to.B - from_.B);
    }

    // The colour of step i of n; a ramp of one step is the start colour.
    TPixel At(int i, int n) const {
        const double t = n > 1 ? double(i) / double(n - 1) : 0.0;
        return PixelFromRgb(Step(dr_, t, from_.R), Step(dg_, t, from_.G), Step(db_, t, from_.B));
    }

private:
    Channels from_;
    std::int16_t dr_, dg_, db_;
};

}  // namespace

TSurface GradationImage(TPixel start, TPixel end, int width, int height, bool vertical) {
    const Ramp ramp(start, end);
    if (vertical) {
        TSurface image(1, height);
        for (int y = 0; y < height; ++y) image.Set(0, y, ramp.At(y, height));
        return image;
    }
    // One row computed, the others copies of it: the stretch only needs a
    // few rows to reach any height.
    TSurface image(width, height / 20 + 1);
    for (int x = 0; x < width; ++x) image.Set(x, 0, ramp.At(x, width));
    for (int y = 1; y < image.Height(); ++y)
        std::copy(image.Row(0), image.Row(0) + width, image.Row(y));
    return image;
}

void DrawGradation(TCanvas& canvas, const TRect& dest, TColor startColor, TColor endColor,
                   bool vertical) {
    if (dest.IsEmpty()) return;
    const TSurface image = GradationImage(canvas.Resolve(startColor), canvas.Resolve(endColor),
                                          dest.Width(), dest.Height(), vertical);
    canvas.CopyMode = cmSrcCopy;
    canvas.StretchBlt(dest, image, image.BoundsRect());
}

}  // namespace widgets
