// Whole-file reads and writes through the C library's files. Start-up reads
// the settings file and icon-theme indexes; doing that with file streams
// would pull in the stream and locale machinery (half a megabyte of the C++
// library touched) for nothing.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace gui {

// The whole file, or nothing when it is missing, not a regular file or
// cannot be read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// Creates or truncates the file and writes the bytes; false when any step
// fails (the file may then hold part of them).
bool WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);

// True when the existing file can be opened for writing without changing it
// (read-only attribute, permissions, locks).
bool IsWritableFile(const std::filesystem::path& path);

}  // namespace gui
