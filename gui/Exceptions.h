// The errors the GUI layer and the program raise. Messages are UTF-8.
#pragma once

#include <stdexcept>
#include <string>

namespace gui {

// A component rule was broken (a fixed message names which).
class EInvalidOperation : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A value cannot be taken over from an object of another kind (the
// assignment error of TPersistent::Assign).
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raised while a form's stored layout is applied; ends start-up.
class ELayoutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace gui
