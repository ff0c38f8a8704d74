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
    gfx::TSurface (*Render)(Arguments& args);
};

std::span<const RenderCommand> Commands();
const RenderCommand* FindCommand(std::string_view name);

// The render functions.
gfx::TSurface RenderBlotter(Arguments& args);
gfx::TSurface RenderArrow(Arguments& args);
gfx::TSurface RenderLed(Arguments& args);
gfx::TSurface RenderGradient(Arguments& args);
gfx::TSurface RenderAbout(Arguments& args);
gfx::TSurface RenderHint(Arguments& args);
gfx::TSurface RenderLauncher(Arguments& args);

}  // namespace render
