// A small JSON reader for test data (the GDI reference manifest): enough of
// the format for plain data files, with errors thrown as std::runtime_error.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testsupport {

class JsonValue {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };

    static JsonValue Parse(std::string_view text);
    static JsonValue ParseFile(const std::string& path);

    Kind Type() const { return kind_; }
    bool Has(std::string_view key) const;
    // Member access; throws when the member is missing or this is no object.
    const JsonValue& operator[](std::string_view key) const;
    const std::vector<JsonValue>& Items() const;  // array elements
    int AsInt() const;
    const std::string& AsString() const;

private:
    friend class JsonParser;
    Kind kind_ = Kind::Null;
    bool bool_ = false;
    double number_ = 0;
    std::string string_;
    std::vector<JsonValue> items_;
    std::vector<std::pair<std::string, JsonValue>> members_;
};

}  // namespace testsupport
