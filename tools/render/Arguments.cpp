#include "tools/render/Arguments.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace render {

namespace {

std::string Quote(std::string_view text) { return "'" + std::string(text) + "'"; }

std::optional<std::uint64_t> ParseUnsigned(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
    return value;
}

}  // namespace

bool Arguments::TakeFlag(std::string_view name) {
    const auto it = std::find(words_.begin(), words_.end(), name);
    if (it == words_.end()) return false;
    words_.erase(it);
    return true;
}

std::optional<std::string> Arguments::TakeOption(std::string_view name) {
    const auto it = std::find(words_.begin(), words_.end(), name);
    if (it == words_.end()) return {};
    if (it + 1 == words_.end()) throw UsageError(std::string(name) + " needs a value");
    std::string value = *(it + 1);
    words_.erase(it, it + 2);
    return value;
}

std::string Arguments::TakeWord(std::string_view what) {
    if (words_.empty()) throw UsageError("missing " + std::string(what));
    std::string word = words_.front();
    words_.erase(words_.begin());
    return word;
}

int Arguments::TakeSize(std::string_view what) {
    const std::string word = TakeWord(what);
    const auto value = ParseUnsigned(word);
    if (!value || *value < 1 || *value > std::uint64_t(kMaxSize))
        throw UsageError(std::string(what) + " must be a whole number from 1 to " +
                         std::to_string(kMaxSize) + ", not " + Quote(word));
    return int(*value);
}

gfx::TColor Arguments::TakeColor(std::string_view what) { return ParseColor(TakeWord(what), what); }

void Arguments::ExpectEnd() const {
    if (words_.empty()) return;
    const std::string& extra = words_.front();
    if (extra.size() > 1 && extra[0] == '-') throw UsageError("unknown option " + Quote(extra));
    throw UsageError("unexpected argument " + Quote(extra));
}

gfx::TColor ParseColor(std::string_view text, std::string_view what) {
    const auto value = ParseUnsigned(text);
    const bool fixed = value && *value <= 0xFFFFFF;
    const bool system = value && *value >= gfx::kSystemColorFlag && *value <= gfx::kSystemColorFlag + 0xFF;
    if (!fixed && !system)
        throw UsageError(std::string(what) + " must be a colour 0xBBGGRR (or 0x800000NN for a " +
                         "system colour), not " + Quote(text));
    return gfx::TColor(*value);
}

}  // namespace render
