// The forms the render tool can draw: one entry per subcommand. To add a
// form, write its render function in a file of its own and list it in
// Commands.cpp.
#pragma once

#include <span>
#include <string_view>

#include "gfx/Surface.h"
#include "tools/render/Arguments.h"

namespace render {

struct RenderCommand {
    std::string_view Name;
    // The arguments after the name, for the usage text ("-o OUT.png" is
    // common to every form and taken before the command runs).
    std::string_view Synopsis;
    // Takes the command's arguments (ExpectEnd included) and returns the
    // picture; throws UsageError for a malformed command line.
    gui::TSurface (*Render)(Arguments& args);
};

std::span<const RenderCommand> Commands();
const RenderCommand* FindCommand(std::string_view name);

// The render functions.
gui::TSurface RenderBlotter(Arguments& args);
gui::TSurface RenderArrow(Arguments& args);
gui::TSurface RenderLed(Arguments& args);
gui::TSurface RenderGradient(Arguments& args);
gui::TSurface RenderAbout(Arguments& args);
gui::TSurface RenderHint(Arguments& args);
gui::TSurface RenderLauncher(Arguments& args);

}  // namespace render
