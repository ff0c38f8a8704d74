// Text between the program's encodings and the Windows calls: the program's
// texts are UTF-8 and go to the wide (W) calls as UTF-16; paths and settings
// are the system's ANSI code page bytes, as the A calls give and take them.
#pragma once

#include <string>
#include <string_view>

namespace platform::gdi {

// UTF-8 to UTF-16. Bytes that are no valid UTF-8 (a path in the ANSI code
// page inside a message) are read in the ANSI code page instead.
std::wstring Widen(std::string_view text);
// UTF-16 to UTF-8.
std::string Narrow(std::wstring_view text);
// UTF-8 to the ANSI code page, for the A calls; characters the code page
// lacks become its default character.
std::string ToAnsi(std::string_view utf8);
// ANSI code page bytes (a path as the A calls give it) to UTF-16.
std::wstring FromAnsi(std::string_view ansi);

}  // namespace platform::gdi
