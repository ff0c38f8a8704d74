// The images the windows carry, one per XPM file in this folder.
#pragma once

#include "resources/EmbeddedImage.h"

namespace resources {

// 36 x 72, two cell faces of the launcher grid: raised (rows 0..35, a
// white/blue/black bevel on cyan) over pressed (rows 36..71, plain cyan).
extern const EmbeddedImage kCellStrip;
// 32 x 32 icons on a transparent ground:
extern const EmbeddedImage kHeart;      // blue heart outline: empty slot, tray
extern const EmbeddedImage kBar;        // white bar: the drag handle
extern const EmbeddedImage kSlantedA;   // blue slanted A: the about/hide panel
extern const EmbeddedImage kMainIcon;   // the program's icon

}  // namespace resources
