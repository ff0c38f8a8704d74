// Replacing the whole content of a file so that neither a reader, nor a
// crash, nor a full disk ever finds it half written. One implementation per
// platform (ReplaceFilePosix.cpp, ReplaceFileWin32.cpp), chosen by the build.
#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace settings {

// Writes `bytes` as the file's new content and returns no error, or returns
// the system's reason and leaves the file as it was.
//
// The new content goes to a new file in the same folder, with the old
// file's permissions from the moment it exists, and is flushed to the disk
// before it is renamed over the old one; the folder is flushed after. No
// temporary file stays behind: the new file has no name until it is
// complete (where the file system allows that), and a named one that a
// killed process left is removed by the next replace. When the folder
// takes no new file but the file itself is writable, the file is rewritten
// in place, and only once the space for the whole new content is reserved.
std::error_code ReplaceFileContent(const std::filesystem::path& target, std::string_view bytes);

// The in-place rewrite on its own: the existing file gets the new content,
// or keeps its old content whole when the new content does not fit.
std::error_code RewriteFileInPlace(const std::filesystem::path& target, std::string_view bytes);

}  // namespace settings
