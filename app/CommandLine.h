// The program's command line: what to do, read from the arguments after the
// program's name. Every start but --help, --version and a faulty one runs
// the program (or hands over to the copy that already runs).
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace app {

enum class TStartAction {
    Run,      // no arguments: start, or bring the running copy forward
    Toggle,   // --toggle: start, or show/hide the running copy's launcher
    Autostart,  // --autostart on|off: start with the session or not, exit
    Help,     // --help: print the help, exit 0
    Version,  // --version: print the version, exit 0
    Usage,    // anything else: print the usage line to stderr, exit 2
};

struct TCommandLine {
    TStartAction Action = TStartAction::Run;
    std::string Unknown;  // the first argument not understood (Usage)
    bool AutostartOn = false;  // --autostart on (Autostart)

    // What the start asks of a copy that already runs.
    platform::StartRequest Request() const {
        return Action == TStartAction::Toggle ? platform::StartRequest::Toggle
                                              : platform::StartRequest::Activate;
    }
};

// Reads `args` (without the program's name). An argument not understood
// (--autostart without on or off included) wins over every other; then
// --help, then --version, then --autostart.
TCommandLine ParseCommandLine(const std::vector<std::string>& args);

// The texts printed, each ending in a line break; `program` is the name the
// user typed the program by.
std::string HelpText(const std::string& program);
std::string VersionText();
std::string UsageText(const std::string& program, const std::string& unknown);

}  // namespace app
