#include "tools/render/Commands.h"

#include <array>

namespace render {

namespace {
constexpr std::array kCommands{
    RenderCommand{"blotter", "W H COLOR", RenderBlotter},
    RenderCommand{"arrow", "W H up|right|left|down [--pressed] [--color COLOR]", RenderArrow},
};
}  // namespace

std::span<const RenderCommand> Commands() { return kCommands; }

const RenderCommand* FindCommand(std::string_view name) {
    for (const RenderCommand& c : kCommands)
        if (c.Name == name) return &c;
    return nullptr;
}

}  // namespace render
