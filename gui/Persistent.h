// TPersistent: an object whose published values can be copied from another
// object (Assign), such as the settings objects a control owns.
#pragma once

#include <string>

namespace gui {

class TPersistent {
public:
    TPersistent() = default;
    virtual ~TPersistent() = default;
    TPersistent(const TPersistent&) = delete;
    TPersistent& operator=(const TPersistent&) = delete;

    // The class name the assignment error shows.
    virtual std::string ClassName() const = 0;

    // Copies the values of `source`. A class overrides this for the sources
    // it understands and passes the rest on; this base copies nothing and
    // throws EConvertError "<source class, or nil> を <own class> に代入する
    // ことはできません".
    virtual void Assign(const TPersistent* source);
};

}  // namespace gui
