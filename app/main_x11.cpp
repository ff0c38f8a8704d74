// The Linux program: Sorimo on the X11 backend.
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Sorimo.h"
#include "platform/x11/X11Platform.h"

int main(int argc, char** argv) {
    // Before anything else: from here on a termination signal ends the
    // program with its settings written instead of killing it.
    auto signals = std::make_unique<platform::x11::SignalWatch>();
    const app::TCommandLine line = app::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.Action) {
        case app::TStartAction::Help: std::fputs(app::HelpText("sorimo").c_str(), stdout); return 0;
        case app::TStartAction::Version: std::fputs(app::VersionText().c_str(), stdout); return 0;
        case app::TStartAction::Usage:
            std::fputs(app::UsageText("sorimo", line.Unknown).c_str(), stderr);
            return 2;
        case app::TStartAction::Run:
        case app::TStartAction::Toggle: break;
    }
    std::unique_ptr<platform::Platform> platform;
    try {
        platform = platform::CreateX11Platform(std::move(signals));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sorimo: %s\n", e.what());
        return 1;
    }
    return app::SorimoMain(*platform, line.Request());
}
