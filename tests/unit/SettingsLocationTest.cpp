// Where a Linux program keeps its settings: an installed copy in the
// user's configuration folder, any other copy beside itself unless its
// folder cannot take the file, and a settings file that already lies beside
// the executable wherever it is.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/xdg/SettingsLocation.h"
#include "tests/support/TempDir.h"
#include "tests/unit/LinuxServicesSupport.h"

namespace platform::xdg {
namespace {

namespace fs = std::filesystem;

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

TEST(SettingsLocation, InstalledCopiesUseTheConfigFolderAndAFileBesideAlwaysWins) {
    struct Case {
        const char* name;
        const char* folder;  // the executable's folder under the scratch folder
        bool marked;         // <folder>/../share/sorimo/installed exists
        bool fileBeside;     // <folder>/sorimo.INI exists
        bool inConfig;       // expected: $XDG_CONFIG_HOME/sorimo/sorimo.INI
    };
    const Case cases[] = {
        {"build folder", "build/app", false, false, false},
        {"unpacked folder named bin", "portable/bin", false, false, false},
        {"installed under a prefix", "prefix/bin", true, false, true},
        {"installed, a settings file beside", "prefix/bin", true, true, false},
        {"a mark beside a folder not named bin", "prefix/app", true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::TempDir scratch;
        const fs::path folder = scratch.Path() / c.folder;
        fs::create_directories(folder);
        if (c.marked) {
            fs::create_directories(folder.parent_path() / "share" / "sorimo");
            testing_support::WriteFile((folder.parent_path() / "share" / "sorimo" / "installed").string(), "");
        }
        if (c.fileBeside) testing_support::WriteFile((folder / "sorimo.INI").string(), "[FORM]\n");
        const fs::path config = scratch.Path() / "config";
        const linux_testing::ScopedEnv configHome("XDG_CONFIG_HOME", config.string());

        const std::string executable = (folder / "sorimo").string();
        const std::string expected =
            c.inConfig ? (config / "sorimo" / "sorimo.INI").string() : (folder / "sorimo.INI").string();
        EXPECT_EQ(SettingsFileFor(executable), expected);
        EXPECT_EQ(IsInstalledCopy(executable), c.marked && fs::path(c.folder).filename() == "bin");
    }
}

}  // namespace
}  // namespace platform::xdg
