#include "platform/xdg/Autostart.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "platform/xdg/SettingsLocation.h"
#include "settings/ReplaceFile.h"

namespace platform::xdg {

namespace fs = std::filesystem;

namespace {

// One argument of an Exec line: quoted when it holds a character the line
// gives a meaning to, with the characters that quoting keeps special
// escaped; then every backslash doubled again, as a string value of a
// desktop entry needs, and % doubled, the field-code escape.
std::string ExecArgument(const std::string& path) {
    const bool quote = path.find_first_of(" \t\"'\\><~|&;$*?#()`") != std::string::npos;
    std::string quoted;
    for (const char c : path) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) quoted += '\\';
        quoted += c;
    }
    if (quote) quoted = '"' + quoted + '"';
    std::string value;
    for (const char c : quoted) {
        if (c == '\\') value += '\\';
        if (c == '%') value += '%';
        value += c;
    }
    return value;
}

}  // namespace

std::string AutostartEntryPath() {
    const std::optional<std::string> config = ConfigHome();
    if (!config) throw std::runtime_error("neither XDG_CONFIG_HOME nor HOME is set");
    return (fs::path(*config) / "autostart" / "sorimo.desktop").string();
}

std::string AutostartEntryText(const std::string& executable) {
    if (executable.find_first_of("\r\n") != std::string::npos)
        throw std::runtime_error("a desktop entry cannot start a program whose path holds a line break");
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Sorimo\n"
           "Comment=Open the 28 files you use most from one small window\n"
           "Exec=" + ExecArgument(executable) + "\n"
           "Icon=sorimo\n"
           "Terminal=false\n"
           // The tray icon needs the panel: wait for it where the session
           // manager knows how, and a moment where it does not.
           "X-GNOME-Autostart-Delay=3\n"
           "X-KDE-autostart-after=panel\n"
           "X-LXQt-Need-Tray=true\n";
}

void EnableAutostart(const std::string& executable) {
    const fs::path entry = AutostartEntryPath();
    const std::string text = AutostartEntryText(executable);
    std::error_code ec;
    fs::create_directories(entry.parent_path(), ec);
    if (ec) throw std::runtime_error(entry.parent_path().string() + ": " + ec.message());
    // Replaced whole, so that a session starting meanwhile reads the old
    // entry or the new one, never a part.
    if (const std::error_code error = settings::ReplaceFileContent(entry, text))
        throw std::runtime_error(entry.string() + ": " + error.message());
}

void DisableAutostart() {
    const fs::path entry = AutostartEntryPath();
    std::error_code ec;
    fs::remove(entry, ec);
    if (ec) throw std::runtime_error(entry.string() + ": " + ec.message());
}

}  // namespace platform::xdg
