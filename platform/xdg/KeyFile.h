// A file of [groups] with key=value lines, as icon themes' index.theme is
// written, parsed in one pass. Large indexes (hicolor names hundreds of
// directories) must cost little at start-up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform::xdg {

// The largest desktop entry read; entries with every translation of their
// name stay well under 100 KiB.
inline constexpr std::uintmax_t kMaxDesktopEntryBytes = 1 << 20;

class KeyFile {
public:
    // Nothing when the file cannot be read, is not a regular file or is
    // longer than `maxBytes`.
    static std::optional<KeyFile> Load(const std::string& path, std::uintmax_t maxBytes);
    // Lines are "[group]", "key=value" (blanks around both trimmed) or
    // comments starting with '#'; others are ignored. The first value of a
    // key in a group counts.
    static KeyFile Parse(std::string_view text);

    std::optional<std::string> Value(const std::string& group, const std::string& key) const;
    // A decimal integer value; nothing when missing or not a number.
    std::optional<int> Integer(const std::string& group, const std::string& key) const;
    // A comma-separated value without its empty items.
    std::vector<std::string> List(const std::string& group, const std::string& key) const;

private:
    using Group = std::unordered_map<std::string, std::string>;
    std::unordered_map<std::string, Group> groups_;
};

}  // namespace platform::xdg
