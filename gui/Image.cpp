#include "gui/Image.h"

namespace gui {

TImage::TImage(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 105, 105); }

void TImage::SetIcon(const TIcon& icon) {
    icon_ = icon;
    bitmap_ = TBitmap();
    Invalidate();
}

void TImage::SetBitmap(const TBitmap& bitmap) {
    bitmap_ = bitmap;
    icon_.Clear();
    Invalidate();
}

void TImage::Paint(TCanvas& canvas) {
    if (!icon_.Empty())
        canvas.Draw(0, 0, icon_);
    else if (!bitmap_.Empty())
        canvas.Draw(0, 0, bitmap_);
}

}  // namespace gui
