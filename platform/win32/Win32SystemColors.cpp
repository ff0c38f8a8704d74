#include "platform/win32/Win32SystemColors.h"

#include "platform/win32/Win32Handles.h"

namespace platform::win32 {

// COLORREF is 0x00BBGGRR, the GUI layer's colour form.
gfx::TColor Win32SystemColors::SystemColor(int index) const { return gfx::TColor(::GetSysColor(index)); }

}  // namespace platform::win32
