#include "platform/xdg/UriList.h"

namespace platform::xdg {

namespace {
int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

std::optional<std::string> PercentDecoded(std::string_view path) {
    std::string decoded;
    decoded.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        // Characters a URI never holds raw: the list's own separators, a
        // query or fragment, spaces and controls.
        if (c == '?' || c == '#' || static_cast<unsigned char>(c) <= 0x20) return std::nullopt;
        if (c != '%') {
            decoded += c;
            continue;
        }
        if (i + 2 >= path.size()) return std::nullopt;
        const int high = HexDigit(path[i + 1]);
        const int low = HexDigit(path[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        decoded += char(high * 16 + low);
        i += 2;
    }
    return decoded;
}
}  // namespace

std::optional<std::string> LocalFileOfUri(std::string_view uri, std::size_t maxPath) {
    if (!StartsWithNoCase(uri, "file:")) return std::nullopt;
    std::string_view rest = uri.substr(5);
    if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);
        const std::size_t slash = rest.find('/');
        if (slash == std::string_view::npos) return std::nullopt;
        const std::string_view host = rest.substr(0, slash);
        if (!host.empty() && !(host.size() == 9 && StartsWithNoCase(host, "localhost")))
            return std::nullopt;
        rest.remove_prefix(slash);
    }
    if (rest.empty() || rest.front() != '/') return std::nullopt;
    auto path = PercentDecoded(rest);
    if (!path || path->size() > maxPath) return std::nullopt;
    if (path->find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
        return std::nullopt;
    return path;
}

std::optional<std::vector<std::string>> LocalFilesOfUriList(std::string_view text,
                                                            std::size_t maxPath) {
    // Some sources count the C string's terminator into the data.
    while (!text.empty() && text.back() == '\0') text.remove_suffix(1);
    std::vector<std::string> files;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        auto file = LocalFileOfUri(line, maxPath);
        if (!file) return std::nullopt;
        files.push_back(std::move(*file));
    }
    if (files.empty()) return std::nullopt;
    return files;
}

}  // namespace platform::xdg
