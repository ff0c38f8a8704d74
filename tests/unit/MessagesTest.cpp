// Messages in the user's language: Japanese texts of the catalog for
// Japanese, the English ids for every other language; and the filling in
// of message arguments.
#include <gtest/gtest.h>

#include <string>

#include "i18n/Messages.h"

namespace {

TEST(Messages, JapaneseReadsTheCatalogAndEveryOtherLanguageTheEnglishText) {
    struct Case {
        const char* language;
        const char* id;
        const char* expected;
    };
    const Case cases[] = {
        {"ja", "Cannot write to %s", "%s に書き込めません"},
        {"ja", "All files|*.*", "すべてのファイル|*.*"},
        {"ja", "A message without a translation", "A message without a translation"},
        {"en", "Cannot write to %s", "Cannot write to %s"},
        {"de", "All files|*.*", "All files|*.*"},
        {"fr", "Open", "Open"},
    };
    for (const Case& c : cases) {
        i18n::UseLanguage(c.language);
        EXPECT_EQ(i18n::Tr(c.id), c.expected) << c.language << ": " << c.id;
    }
    i18n::UseLanguage("ja");  // what the other tests of this binary expect
}

TEST(Messages, FormatFillsEachPlaceholderInTurn) {
    EXPECT_EQ(i18n::Format("%s に書き込めません", {"/a/b.INI"}), "/a/b.INI に書き込めません");
    EXPECT_EQ(i18n::Format("%s を %s に", {"x", "y"}), "x を y に");
    EXPECT_EQ(i18n::Format("100%% of %s", {"50%s"}), "100% of 50%s");  // an argument is not a pattern
    EXPECT_EQ(i18n::Format("%s and %s", {"one"}), "one and ");
    EXPECT_EQ(i18n::Format("trailing %", {}), "trailing %");
}

}  // namespace
