#include "app/CommandLine.h"

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
    return "Usage: " + program + " [--toggle]\n"
           "       " + program + " --autostart on|off\n"
           "A tiny quick launcher for 28 files.\n"
           "\n"
           "  --toggle            show the launcher when it is hidden in the tray, hide\n"
           "                      it to the tray when it is shown; start the program\n"
           "                      when it does not run\n"
           "  --autostart on|off  start this program with every session from now on,\n"
           "                      or no longer, and exit\n"
           "  --help              print this help and exit\n"
           "  --version           print the version and exit\n"
           "\n"
           "One copy runs per settings file: starting the program again brings the\n"
           "running launcher forward.\n";
}

std::string VersionText() { return std::string("Sorimo ") + SORIMO_VERSION + "\n"; }

std::string UsageText(const std::string& program, const std::string& unknown) {
    return program + ": unknown argument '" + unknown + "'\n"
           "Usage: " + program + " [--toggle | --autostart on|off | --help | --version]\n";
}

}  // namespace app
