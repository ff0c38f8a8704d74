#include "platform/xdg/KeyFile.h"

#include <charconv>

#include "base/FileBytes.h"

namespace platform::xdg {

namespace {

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

std::optional<KeyFile> KeyFile::Load(const std::string& path, std::uintmax_t maxBytes) {
    const std::optional<std::string> text = base::ReadFileBytes(path, maxBytes);
    if (!text) return std::nullopt;
    return Parse(*text);
}

KeyFile KeyFile::Parse(std::string_view text) {
    KeyFile file;
    Group* group = nullptr;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            group = &file.groups_[std::string(line.substr(1, line.size() - 2))];
        } else if (const auto equals = line.find('='); group && equals != std::string_view::npos) {
            group->try_emplace(std::string(Trim(line.substr(0, equals))),
                               Trim(line.substr(equals + 1)));
        }
    }
    return file;
}

std::optional<std::string> KeyFile::Value(const std::string& group, const std::string& key) const {
    const auto g = groups_.find(group);
    if (g == groups_.end()) return std::nullopt;
    const auto k = g->second.find(key);
    if (k == g->second.end()) return std::nullopt;
    return k->second;
}

std::optional<int> KeyFile::Integer(const std::string& group, const std::string& key) const {
    const auto text = Value(group, key);
    if (!text) return std::nullopt;
    int value = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

std::vector<std::string> KeyFile::List(const std::string& group, const std::string& key) const {
    std::vector<std::string> items;
    const std::string text = Value(group, key).value_or("");
    std::string_view rest = text;
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        if (const auto item = Trim(rest.substr(0, comma)); !item.empty()) items.emplace_back(item);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return items;
}

}  // namespace platform::xdg
