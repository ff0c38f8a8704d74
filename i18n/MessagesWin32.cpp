// Windows: the catalogs' texts are compiled in (MessageTable.cpp, made from
// po/*.po at build time); the language is the user's display language.
#include <cstring>
#include <optional>

#include "i18n/MessageTable.h"
#include "i18n/Messages.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace i18n {

namespace {

// The ISO 639 code of the user's display language ("ja", "en", ...).
std::string DisplayLanguage() {
    const LANGID language = ::GetUserDefaultUILanguage();
    char code[16] = {};
    if (!::GetLocaleInfoA(MAKELCID(language, SORT_DEFAULT), LOCALE_SISO639LANGNAME, code, sizeof code))
        return "en";
    return code;
}

std::string& Language() {
    static std::string language = DisplayLanguage();
    return language;
}

}  // namespace

std::string Tr(const char* id) {
    const std::string& language = Language();
    for (const TranslatedMessage& message : kTranslatedMessages)
        if (language == message.Language && std::strcmp(id, message.Id) == 0) return message.Text;
    return id;
}

void UseCatalogs(const std::string&) {}

void UseLanguage(const std::string& language) { Language() = language; }

}  // namespace i18n
