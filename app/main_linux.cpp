// The Linux program: Sorimo on the Wayland backend where the compositor
// offers the layer shell, else on the X11 backend (see BackendChoice.h).
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "app/BackendChoice.h"
#include "app/CommandLine.h"
#include "app/Sorimo.h"
#include "i18n/Messages.h"
#include "platform/wayland/WaylandPlatform.h"
#include "platform/x11/X11Platform.h"
#include "platform/xdg/Autostart.h"

namespace {

std::string ThisExecutable() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) throw std::runtime_error("/proc/self/exe: " + ec.message());
    return self.string();
}

// The platform the environment asks for; throws std::runtime_error when it
// cannot be had.
std::unique_ptr<platform::Platform> CreatePlatform(app::TBackendWish wish,
                                                   std::unique_ptr<platform::posix::SignalWatch>& signals) {
    if (wish != app::TBackendWish::X11) {
        try {
            return platform::CreateWaylandPlatform(signals);
        } catch (const platform::WaylandUnavailable&) {
            if (wish == app::TBackendWish::Wayland) throw;
        }
    }
    return platform::CreateX11Platform(std::move(signals));
}

// --autostart on|off: writes or removes the session's entry for this
// executable; needs no display.
int ChangeAutostart(bool on) {
    try {
        if (on) {
            platform::xdg::EnableAutostart(ThisExecutable());
            std::puts(i18n::Format(i18n::Tr("Sorimo starts with every session from now on (%s)."),
                                   {platform::xdg::AutostartEntryPath()})
                          .c_str());
        } else {
            platform::xdg::DisableAutostart();
            std::puts(i18n::Tr("Sorimo no longer starts with the session.").c_str());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sorimo: %s\n",
                     i18n::Format(i18n::Tr("Cannot change the autostart entry: %s"), {e.what()}).c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Before anything else: from here on a termination signal ends the
    // program with its settings written instead of killing it.
    auto signals = std::make_unique<platform::posix::SignalWatch>();
    // Messages in the user's language, from the catalogs beside this copy.
    try {
        i18n::UseCatalogs(i18n::CatalogFolderFor(ThisExecutable()));
    } catch (const std::exception&) {
        // Without /proc: the messages stay in English.
    }
    const app::TCommandLine line = app::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.Action) {
        case app::TStartAction::Help: std::fputs(app::HelpText("sorimo").c_str(), stdout); return 0;
        case app::TStartAction::Version: std::fputs(app::VersionText().c_str(), stdout); return 0;
        case app::TStartAction::Usage:
            std::fputs(app::UsageText("sorimo", line.Unknown).c_str(), stderr);
            return 2;
        case app::TStartAction::Autostart: return ChangeAutostart(line.AutostartOn);
        case app::TStartAction::Run:
        case app::TStartAction::Toggle: break;
    }
    const char* forced = std::getenv("SORIMO_BACKEND");
    const char* waylandDisplay = std::getenv("WAYLAND_DISPLAY");
    const auto wish = app::WishedBackend(forced ? forced : "", waylandDisplay && *waylandDisplay);
    if (!wish) {
        std::fprintf(stderr, "sorimo: %s\n",
                     i18n::Format(i18n::Tr("SORIMO_BACKEND is \"%s\"; it can be \"x11\" or \"wayland\"."), {forced})
                         .c_str());
        return 2;
    }
    std::unique_ptr<platform::Platform> platform;
    try {
        platform = CreatePlatform(*wish, signals);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sorimo: %s\n", e.what());
        return 1;
    }
    return app::SorimoMain(*platform, line.Request());
}
