// TImage: shows a picture (an icon or a bitmap) at its natural size.
#pragma once

#include "gui/Control.h"
#include "gfx/Graphics.h"
#include "gui/DesignNames.h"

namespace gui {

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);

    const TIcon& Icon() const { return icon_; }
    const TBitmap& Bitmap() const { return bitmap_; }
    void SetIcon(const TIcon& icon);
    void SetBitmap(const TBitmap& bitmap);
    bool HasPicture() const { return !icon_.Empty() || !bitmap_.Empty(); }

protected:
    void Paint(TCanvas& canvas) override;

private:
    TIcon icon_;
    TBitmap bitmap_;
};

}  // namespace gui
