// The tests of the unit and scenario binaries expect the program's texts in
// Japanese, the language the program was designed in: they run with the
// catalogs of this build and the language pinned to Japanese, whatever the
// machine's locale.
#include <gtest/gtest.h>

#include "i18n/Messages.h"

namespace {

class JapaneseMessages : public ::testing::Environment {
public:
    void SetUp() override {
        i18n::UseCatalogs(SORIMO_LOCALE_DIR);
        i18n::UseLanguage("ja");
    }
};

const auto* const kJapaneseMessages = ::testing::AddGlobalTestEnvironment(new JapaneseMessages);

}  // namespace
