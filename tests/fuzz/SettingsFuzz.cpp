// The settings reader and writer: parse, set one key, parse again. The key
// reads back as written, and every byte outside the one line that changed
// (or was added, with its section) is kept.
//
// Input: "section\nkey\nvalue\ntext": the entry to set, then the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

#include "settings/IniText.h"

namespace {

std::string_view TakeLine(std::string_view& input) {
    const std::size_t end = input.find('\n');
    const std::string_view line = input.substr(0, end);
    input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
    return line;
}

std::size_t LineBreaks(std::string_view s) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        if (s[i] == '\r' || s[i] == '\n') ++count;
    }
    return count;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

// What differs between `before` and `after` once their common start and end
// are set aside.
struct Change {
    std::string_view Removed;
    std::string_view Inserted;
};

Change Difference(std::string_view before, std::string_view after) {
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return {before.substr(head, before.size() - head - tail),
            after.substr(head, after.size() - head - tail)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view section = TakeLine(input);
    const std::string_view key = TakeLine(input);
    const std::string_view value = TakeLine(input);
    const std::string_view text = input;

    // Reading any text is safe; integers parse from any value.
    const auto old = settings::FindIniValue(text, section, key);
    if (old) (void)settings::ParseIniInteger(*old);
    (void)settings::FindIniValue(text, "FORM", "LEFT");

    try {
        settings::CheckIniEntry(section, key, value);
    } catch (const std::invalid_argument&) {
        return 0;  // not writable as one line: the writer refuses it
    }
    const std::string edited = settings::SetIniValue(text, section, key, value);

    // The value reads back as written (reading trims blanks and one pair of
    // outer quotes, so only values without them come back whole).
    const auto back = settings::FindIniValue(edited, section, key);
    Check(back.has_value());
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    const bool plain = value.empty() || (!blank(value.front()) && !blank(value.back()) && !quoted);
    if (plain) Check(*back == value);

    // Everything but one line is kept: at most one line break goes (the
    // rewritten line's), and what comes in is that line, or a new line with
    // perhaps its section and a break closing an open last line.
    const Change change = Difference(text, edited);
    Check(LineBreaks(change.Removed) <= 1);
    Check(LineBreaks(change.Inserted) <= 3);

    // Setting the same entry again changes nothing more.
    Check(settings::SetIniValue(edited, section, key, value) == edited);
    return 0;
}
