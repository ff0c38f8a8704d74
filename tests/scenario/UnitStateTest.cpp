// Unit state held by the application: one object per type, alive from its
// first use until every component is gone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/Application.h"
#include "gui/Form.h"
#include "platform/headless/HeadlessPlatform.h"

namespace gui {
namespace {

using Log = std::vector<std::string>;

// A state that records its end in a log the test keeps.
struct LoggedUnit {
    explicit LoggedUnit(TApplication&) {}
    ~LoggedUnit() {
        if (log) log->push_back(name + " freed");
    }
    Log* log = nullptr;
    std::string name;
    int uses = 0;
};
struct FirstUnit : LoggedUnit {
    using LoggedUnit::LoggedUnit;
};
struct SecondUnit : LoggedUnit {
    using LoggedUnit::LoggedUnit;
};

// A form whose destruction still uses a unit's state, as a tray icon does.
class UsingForm : public TForm {
public:
    UsingForm(TApplication& app, Log& log) : TForm(app), log_(log) {}
    ~UsingForm() override {
        ++App().UnitState<FirstUnit>().uses;
        log_.push_back("form freed");
    }

private:
    Log& log_;
};

TEST(UnitState, OneStatePerTypeFreedAfterTheFormsLastMadeFirst) {
    Log log;
    {
        platform::HeadlessPlatform platform;
        TApplication app(platform);
        UsingForm* form = nullptr;
        app.CreateForm(form, log);
        FirstUnit& first = app.UnitState<FirstUnit>();
        first.log = &log;
        first.name = "first";
        SecondUnit& second = app.UnitState<SecondUnit>();
        second.log = &log;
        second.name = "second";
        EXPECT_EQ(&app.UnitState<FirstUnit>(), &first);
        EXPECT_NE(static_cast<LoggedUnit*>(&second), static_cast<LoggedUnit*>(&first));
        ++app.UnitState<FirstUnit>().uses;
        EXPECT_EQ(first.uses, 1);
    }
    EXPECT_EQ(log, (Log{"form freed", "second freed", "first freed"}));
}

}  // namespace
}  // namespace gui
