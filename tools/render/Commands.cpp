#include "tools/render/Commands.h"

#include <array>

namespace render {

namespace {
constexpr std::array kCommands{
    RenderCommand{"blotter", "W H COLOR", RenderBlotter},
    RenderCommand{"arrow", "W H up|right|left|down [--pressed] [--color COLOR]", RenderArrow},
    RenderCommand{"led",
                  "W H rest|raised|sunk [--caption TEXT] [--face COLOR] [--background COLOR] "
                  "[--off COLOR] [--on COLOR] [--down COLOR]",
                  RenderLed},
    RenderCommand{"gradient", "W H START END horz|vert", RenderGradient},
    RenderCommand{"about", "", RenderAbout},
    RenderCommand{"hint", "TEXT", RenderHint},
    RenderCommand{"launcher", "[--ini FILE]", RenderLauncher},
};
}  // namespace

std::span<const RenderCommand> Commands() { return kCommands; }

const RenderCommand* FindCommand(std::string_view name) {
    for (const RenderCommand& c : kCommands)
        if (c.Name == name) return &c;
    return nullptr;
}

}  // namespace render
