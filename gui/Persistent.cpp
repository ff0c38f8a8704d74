#include "gui/Persistent.h"

#include "gui/Exceptions.h"

namespace gui {

void TPersistent::Assign(const TPersistent* source) {
    const std::string from = source ? source->ClassName() : "nil";
    throw EConvertError(from + " を " + ClassName() + " に代入することはできません");
}

}  // namespace gui
