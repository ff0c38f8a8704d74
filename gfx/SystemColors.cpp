#include "gfx/SystemColors.h"

namespace gfx {

TColor ClassicSystemColors::SystemColor(int index) const {
    switch (index) {
        case 5: return TColor{0xFFFFFF};   // clWindow
        case 8: return TColor{0x000000};   // clWindowText
        case 15: return TColor{0xC0C0C0};  // clBtnFace
        case 16: return TColor{0x808080};  // clBtnShadow
        case 17: return TColor{0x808080};  // clGrayText
        case 18: return TColor{0x000000};  // clBtnText
        case 20: return TColor{0xFFFFFF};  // clBtnHighlight
        case 23: return TColor{0x000000};  // clInfoText
        case 24: return TColor{0xE1FFFF};  // clInfoBk
        default: return TColor{0x000000};
    }
}

const ClassicSystemColors& ClassicSystemColors::Instance() {
    static const ClassicSystemColors palette;
    return palette;
}

}  // namespace gfx
