// Messages in the user's language. Every text that the program shows or
// prints to a user is looked up here by its English wording (the message
// id): Japanese users read the texts of the catalog po/ja.po, everyone else
// the English id itself. Linux reads the compiled catalogs with gettext
// from the C library; the Windows program carries the same texts inside
// and picks them by the user's display language.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace i18n {

// The text of the message whose English wording is `id`, in the user's
// language: the translation, or the id itself when there is none.
std::string Tr(const char* id);

// `pattern` (a text from Tr) with each "%s" replaced by the next argument,
// in order; "%%" stands for "%". Arguments left over are dropped, a "%s"
// without one is left empty.
std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args);

// Linux: the catalogs lie in `localeDir`/<language>/LC_MESSAGES/sorimo.mo,
// and the language is the one the environment gives (LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG), read once here. Windows: nothing to do.
void UseCatalogs(const std::string& localeDir);

// The catalogs for the program at `executable`: <its folder>/../share/locale,
// which is <prefix>/share/locale of an installed copy and share/locale of
// the build folder for a program in <build>/app.
std::string CatalogFolderFor(const std::string& executable);

// From now on the messages are in `language` ("ja", "en", "de", ...),
// whatever the user's settings say: for tests and tools.
void UseLanguage(const std::string& language);

}  // namespace i18n
