// The command line of one render form: positional words and options taken
// one by one, each with a clear message when it is missing or malformed.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/Types.h"

namespace render {

// A malformed command line; the tool prints it with the usage and exits 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Arguments {
public:
    // The largest width or height a form may be given.
    static constexpr int kMaxSize = 4096;

    explicit Arguments(std::vector<std::string> words) : words_(std::move(words)) {}

    // Options may stand anywhere; take them before the positional words.
    bool TakeFlag(std::string_view name);
    std::optional<std::string> TakeOption(std::string_view name);

    // Positional words, in order; `what` names the word in messages.
    std::string TakeWord(std::string_view what);
    int TakeSize(std::string_view what);
    gfx::TColor TakeColor(std::string_view what);

    // Fails on anything not taken.
    void ExpectEnd() const;

private:
    std::vector<std::string> words_;
};

// Parses a colour written 0xBBGGRR (or decimal); system colours
// (0x80000000 + index) are accepted too.
gfx::TColor ParseColor(std::string_view text, std::string_view what);

}  // namespace render
