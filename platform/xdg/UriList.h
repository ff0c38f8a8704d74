// The local files named by a text/uri-list, the form in which Linux
// desktops hand over dragged files.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::xdg {

// One URI a line (CRLF, a bare LF is taken too); empty lines and lines
// starting with '#' are skipped, and so are NULs ending the text. Each URI must be a file: URI
// whose host is empty or "localhost" and whose path is absolute ("file:///a/b",
// "file://localhost/a/b", "file:/a/b"); the path is percent-decoded. Nothing
// when the list names no file, or when any URI names something else (a web
// address, a remote host, a relative path, a query or fragment, a broken
// escape), or a decoded path holds a NUL or a line break, or is longer than
// `maxPath` bytes: a drop is taken whole or not at all.
std::optional<std::vector<std::string>> LocalFilesOfUriList(std::string_view text,
                                                            std::size_t maxPath);

// One file: URI as above, or nothing.
std::optional<std::string> LocalFileOfUri(std::string_view uri, std::size_t maxPath);

}  // namespace platform::xdg
