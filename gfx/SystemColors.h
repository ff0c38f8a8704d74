// Resolves system colours (0x80000000 + index) to pixels. The platform
// supplies the palette; ClassicSystemColors is the fixed palette used where
// the platform has no system colours of its own (headless, X11).
#pragma once

#include "gfx/Types.h"

namespace gfx {

class TSystemColors {
public:
    virtual ~TSystemColors() = default;
    // The fixed colour (0x00BBGGRR) of system colour `index`.
    virtual TColor SystemColor(int index) const = 0;

    // Any colour to a pixel: fixed colours convert directly, system colours
    // go through SystemColor.
    TPixel Resolve(TColor c) const {
        const TColor fixed = IsSystemColor(c) ? SystemColor(SystemColorIndex(c)) : c;
        return PixelFromColor(TColor{ColorValue(fixed) & 0xFFFFFF});
    }
};

class ClassicSystemColors final : public TSystemColors {
public:
    TColor SystemColor(int index) const override;
    static const ClassicSystemColors& Instance();
};

}  // namespace gfx
