// The shell's services: opening a file with its default action, a file's
// icon, the open-file dialog and the error box. Paths are ANSI code page
// bytes, as the A calls give and take them; texts shown to people are UTF-8.
#pragma once

#include <optional>
#include <string>

#include "platform/Platform.h"

namespace platform::win32 {

// ShellExecuteA with no operation (the default action): > 32 on success.
int ShellOpen(const ShellOpenRequest& request);

// SHGetFileInfoA (SHGFI_ICON | SHGFI_SYSICONINDEX: the large icon); the
// shell's handle is released once its picture is copied.
std::optional<gfx::TIcon> FileIcon(const std::string& path);

// GetOpenFileNameA; blocks in the dialog's own message loop. The chosen
// path, or nothing when cancelled.
std::optional<std::string> AskOpenFile(const OpenFileRequest& request);

// MessageBoxW with the error icon, modal for all the program's windows.
void ShowErrorBox(const std::string& title, const std::string& message);

// The filter of the dialog: "Name|pattern|..." as the NUL-separated,
// double-NUL-ended list of GetOpenFileNameA, in the ANSI code page.
std::string DialogFilter(const std::string& filter);

}  // namespace platform::win32
