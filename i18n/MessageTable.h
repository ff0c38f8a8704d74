// The translated messages of the catalogs in po/, compiled into the Windows
// program (MessageTable.cpp is made from them at build time by
// cmake/PoToCpp.cmake).
#pragma once

#include <span>

namespace i18n {

struct TranslatedMessage {
    const char* Language;  // the catalog's language, "ja"
    const char* Id;        // the English text
    const char* Text;      // its translation, UTF-8
};

extern const std::span<const TranslatedMessage> kTranslatedMessages;

}  // namespace i18n
