#include "app/CommandLine.h"

#include "i18n/Messages.h"

namespace app {

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    TCommandLine line;
    bool help = false, version = false, toggle = false, autostart = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--autostart" && i + 1 < args.size() && (args[i + 1] == "on" || args[i + 1] == "off")) {
            autostart = true;
            line.AutostartOn = args[++i] == "on";
        } else if (arg == "--help")
            help = true;
        else if (arg == "--version")
            version = true;
        else if (arg == "--toggle")
            toggle = true;
        else if (line.Action != TStartAction::Usage) {
            line.Action = TStartAction::Usage;
            line.Unknown = arg;
        }
    }
    if (line.Action == TStartAction::Usage) return line;
    if (help)
        line.Action = TStartAction::Help;
    else if (version)
        line.Action = TStartAction::Version;
    else if (autostart)
        line.Action = TStartAction::Autostart;
    else if (toggle)
        line.Action = TStartAction::Toggle;
    return line;
}

std::string HelpText(const std::string& program) {
    using i18n::Tr;
    // Each option's text may span lines; those after the first line up
    // under it.
    const struct {
        const char* Option;
        std::string Text;
    } options[] = {
        {"--toggle", Tr("show the launcher when it is hidden in the tray, hide\n"
                        "it to the tray when it is shown, start the program\n"
                        "when it does not run")},
        {"--autostart on|off", Tr("start this program with every session from now on,\n"
                                  "or no longer, and exit")},
        {"--help", Tr("print this help and exit")},
        {"--version", Tr("print the version and exit")},
    };
    std::string text = i18n::Format(Tr("Usage: %s [--toggle]"), {program}) + "\n" +
                       i18n::Format(Tr("  or:  %s --autostart on|off"), {program}) + "\n" +
                       Tr("A tiny quick launcher for 28 files.") + "\n\n";
    constexpr std::size_t kTextColumn = 22;
    for (const auto& option : options) {
        std::string line = "  " + std::string(option.Option);
        line.resize(kTextColumn, ' ');
        for (char c : option.Text) line += c == '\n' ? "\n" + std::string(kTextColumn, ' ') : std::string(1, c);
        text += line + "\n";
    }
    return text + "\n" +
           Tr("One copy runs per settings file: starting the program again brings the\n"
              "running launcher forward.") +
           "\n";
}

std::string VersionText() { return std::string("Sorimo ") + SORIMO_VERSION + "\n"; }

std::string UsageText(const std::string& program, const std::string& unknown) {
    return program + ": " + i18n::Format(i18n::Tr("unknown argument '%s'"), {unknown}) + "\n" +
           i18n::Format(i18n::Tr("Usage: %s [--toggle | --autostart on|off | --help | --version]"), {program}) +
           "\n";
}

}  // namespace app
