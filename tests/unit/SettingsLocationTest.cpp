// Where a Linux program keeps its settings when its own folder cannot.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/xdg/SettingsLocation.h"
#include "tests/support/TempDir.h"
#include "tests/unit/LinuxServicesSupport.h"

namespace platform::xdg {
namespace {

// The base directory rules: an absolute XDG_CONFIG_HOME is used, a relative
// or empty one is ignored for ~/.config (before, a relative one made the
// settings depend on the folder the program was started from).
TEST(SettingsLocation, AnAbsoluteConfigHomeIsUsedAndARelativeOneIgnored) {
    testing_support::TempDir home;
    const linux_testing::ScopedEnv homeVariable("HOME", home.Path().string());
    const std::string executable = home.File("no-such-folder/sorimo");  // its folder cannot take a file
    const struct {
        std::optional<std::string> configHome;
        std::string expected;
    } cases[] = {
        {home.File("cfg"), home.File("cfg/sorimo/sorimo.INI")},
        {std::string("relative/cfg"), home.File(".config/sorimo/sorimo.INI")},
        {std::string(""), home.File(".config/sorimo/sorimo.INI")},
        {std::nullopt, home.File(".config/sorimo/sorimo.INI")},
    };
    for (const auto& c : cases) {
        const linux_testing::ScopedEnv config("XDG_CONFIG_HOME", c.configHome);
        EXPECT_EQ(SettingsFileFor(executable), c.expected) << c.configHome.value_or("(unset)");
    }
}

}  // namespace
}  // namespace platform::xdg
