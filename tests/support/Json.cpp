#include "tests/support/Json.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

// Recursive descent over the text; escapes other than \uXXXX are decoded,
// \uXXXX is kept as '?' (the manifest is ASCII).
class JsonParser {
public:
    explicit JsonParser(std::string_view text) : text_(text) {}

    JsonValue Document() {
        JsonValue v = Value();
        SkipSpace();
        if (pos_ != text_.size()) Fail("trailing characters");
        return v;
    }

private:
    JsonValue Value() {
        SkipSpace();
        if (pos_ >= text_.size()) Fail("unexpected end");
        const char c = text_[pos_];
        JsonValue v;
        if (c == '{') return Object();
        if (c == '[') return Array();
        if (c == '"') {
            v.kind_ = JsonValue::Kind::String;
            v.string_ = String();
        } else if (Literal("true")) {
            v.kind_ = JsonValue::Kind::Bool;
            v.bool_ = true;
        } else if (Literal("false")) {
            v.kind_ = JsonValue::Kind::Bool;
        } else if (Literal("null")) {
            v.kind_ = JsonValue::Kind::Null;
        } else {
            v.kind_ = JsonValue::Kind::Number;
            v.number_ = Number();
        }
        return v;
    }

    JsonValue Object() {
        JsonValue v;
        v.kind_ = JsonValue::Kind::Object;
        Expect('{');
        if (Next('}')) return v;
        do {
            SkipSpace();
            std::string key = String();
            Expect(':');
            v.members_.emplace_back(std::move(key), Value());
        } while (Next(','));
        Expect('}');
        return v;
    }

    JsonValue Array() {
        JsonValue v;
        v.kind_ = JsonValue::Kind::Array;
        Expect('[');
        if (Next(']')) return v;
        do v.items_.push_back(Value());
        while (Next(','));
        Expect(']');
        return v;
    }

    std::string String() {
        Expect('"');
        std::string out;
        while (pos_ < text_.size() && text_[pos_] != '"') {
            char c = text_[pos_++];
            if (c == '\\' && pos_ < text_.size()) c = Escape(text_[pos_++]);
            out += c;
        }
        Expect('"');
        return out;
    }

    char Escape(char c) {
        switch (c) {
            case 'n':
                return '\n';
            case 't':
                return '\t';
            case 'r':
                return '\r';
            case 'b':
                return '\b';
            case 'f':
                return '\f';
            case 'u':
                pos_ = std::min(pos_ + 4, text_.size());
                return '?';
            default:
                return c;
        }
    }

    double Number() {
        const std::string rest(text_.substr(pos_, 64));
        char* end = nullptr;
        const double v = std::strtod(rest.c_str(), &end);
        if (end == rest.c_str()) Fail("bad value");
        pos_ += std::size_t(end - rest.c_str());
        return v;
    }

    bool Literal(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }
    void SkipSpace() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    }
    bool Peek(char c) {
        SkipSpace();
        return pos_ < text_.size() && text_[pos_] == c;
    }
    bool Next(char c) {
        if (!Peek(c)) return false;
        ++pos_;
        return true;
    }
    void Expect(char c) {
        if (!Next(c)) Fail(std::string("expected '") + c + "'");
    }
    [[noreturn]] void Fail(const std::string& what) const {
        throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(pos_));
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

JsonValue JsonValue::Parse(std::string_view text) {
    return JsonParser(text).Document();
}

JsonValue JsonValue::ParseFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return Parse(text.str());
}

bool JsonValue::Has(std::string_view key) const {
    for (const auto& m : members_)
        if (m.first == key) return true;
    return false;
}

const JsonValue& JsonValue::operator[](std::string_view key) const {
    for (const auto& m : members_)
        if (m.first == key) return m.second;
    throw std::runtime_error("JSON: no member " + std::string(key));
}

const std::vector<JsonValue>& JsonValue::Items() const {
    if (kind_ != Kind::Array) throw std::runtime_error("JSON: not an array");
    return items_;
}

int JsonValue::AsInt() const {
    if (kind_ != Kind::Number || std::floor(number_) != number_)
        throw std::runtime_error("JSON: not an integer");
    return int(number_);
}

const std::string& JsonValue::AsString() const {
    if (kind_ != Kind::String) throw std::runtime_error("JSON: not a string");
    return string_;
}

}  // namespace testsupport
