// Linux: the messages through gettext of the C library, in the text domain
// "sorimo".
#include <libintl.h>

#include <clocale>
#include <cstdlib>

#include "i18n/Messages.h"

// The C library's count of catalog changes: raising it drops the
// translations it remembers, as gettext's manual says to after changing
// LANGUAGE while running.
extern "C" int _nl_msg_cat_cntr;

namespace i18n {

namespace {
constexpr char kDomain[] = "sorimo";
}

std::string Tr(const char* id) { return ::dgettext(kDomain, id); }

void UseCatalogs(const std::string& localeDir) {
    // Only the messages' category follows the environment: numbers, case
    // and character classes keep the C library's own rules everywhere.
    std::setlocale(LC_MESSAGES, "");
    ::bindtextdomain(kDomain, localeDir.c_str());
    // The texts come out in UTF-8, as the rest of the program keeps them,
    // whatever the locale's character set.
    ::bind_textdomain_codeset(kDomain, "UTF-8");
}

void UseLanguage(const std::string& language) {
    // LANGUAGE names the catalog; gettext reads it only when the messages'
    // category is not the C locale, and C.UTF-8 is a locale every system has.
    ::setenv("LANGUAGE", language.c_str(), 1);
    std::setlocale(LC_MESSAGES, "C.UTF-8");
    ++_nl_msg_cat_cntr;
}

}  // namespace i18n
