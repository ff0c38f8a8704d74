// Files dropped on a window from the shell or another program, as the
// WM_DROPFILES message brings them (internal to the Win32 backend). Only the
// drop itself: the message has no hover, so a window hears no Over notices.
#pragma once

// The seam first: the shell's headers define some of its names as macros.
#include "platform/Platform.h"

#include <windows.h>

namespace platform::win32 {

// The drop's paths (ANSI bytes, like every path of the Windows build) and
// its point in screen coordinates; finishes the drop (DragFinish). A path
// of MAX_PATH characters or more, or one the ANSI code page cannot spell
// (the system put '?', which no file name holds, in its place), makes the
// drop one of other things than files.
DragInput ReadDroppedFiles(HWND window, HDROP drop);

}  // namespace platform::win32
