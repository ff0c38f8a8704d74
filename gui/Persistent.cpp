#include "gui/Persistent.h"

#include "gui/Exceptions.h"
#include "i18n/Messages.h"

namespace gui {

void TPersistent::Assign(const TPersistent* source) {
    const std::string from = source ? source->ClassName() : "nil";
    throw EConvertError(i18n::Format(i18n::Tr("Cannot assign %s to %s"), {from, ClassName()}));
}

}  // namespace gui
