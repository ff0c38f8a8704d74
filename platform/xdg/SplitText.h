// Splitting a line of text at a separator character.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::xdg {

// The pieces between separators, empty ones included, except that text
// ending in the separator has no empty last piece ("a|b|" is a, b; "" is
// nothing).
inline std::vector<std::string> SplitText(std::string_view text, char separator) {
    std::vector<std::string> parts;
    while (!text.empty()) {
        const std::size_t end = text.find(separator);
        parts.emplace_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return parts;
}

}  // namespace platform::xdg
