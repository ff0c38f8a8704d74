// Whole-file reads and writes through the C library's files. Start-up reads
// the settings file and icon-theme indexes; doing that with file streams
// would pull in the stream and locale machinery (half a megabyte of the C++
// library touched) for nothing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace base {

// The whole file, or nothing when it is missing, not a regular file or
// cannot be read. A named pipe, a device or a socket is never opened for
// reading in a way that could wait, and never read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// The same for a file of at most `maxBytes`: a longer one gives nothing, and
// no more than maxBytes + 1 bytes are read even from a file that grows
// while it is read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path, std::uintmax_t maxBytes);

// Creates or truncates the file and writes the bytes; false when any step
// fails (the file may then hold part of them).
bool WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);

// True when the existing file can be opened for writing without changing it
// (read-only attribute, permissions, locks).
bool IsWritableFile(const std::filesystem::path& path);

}  // namespace base
