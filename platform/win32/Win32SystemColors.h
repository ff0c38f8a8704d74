// System colours as the running Windows has them (GetSysColor), read when
// drawn so that a change of the desktop's scheme shows at the next paint.
#pragma once

#include "gfx/SystemColors.h"

namespace platform::win32 {

class Win32SystemColors final : public gfx::TSystemColors {
public:
    gfx::TColor SystemColor(int index) const override;
};

}  // namespace platform::win32
