// sorimo-render arrow W H DIRECTION [--pressed] [--color COLOR]: an arrow
// button on a white form, released or held down by a left press.
#include <algorithm>
#include <array>
#include <stdexcept>
#include <utility>

#include "tools/render/Commands.h"
#include "tools/render/HeadlessSession.h"
#include "widgets/arrowbtn.h"

namespace render {

namespace {

widgets::TButtonDirection ParseDirection(const std::string& word) {
    constexpr std::array<std::pair<std::string_view, widgets::TButtonDirection>, 4> kNames{{
        {"up", widgets::arwUP},
        {"right", widgets::arwRIGHT},
        {"left", widgets::arwLEFT},
        {"down", widgets::arwDOWN},
    }};
    for (const auto& [name, direction] : kNames)
        if (name == word) return direction;
    throw UsageError("DIRECTION must be up, right, left or down, not '" + word + "'");
}

// The pressed look exists only while a real press holds the button, so the
// tool presses the first pixel of the painted triangle inside the button.
void Press(HeadlessSession& session, widgets::TArrowButton& button) {
    const gfx::TRect area = button.ClientRect();
    if (const auto& region = button.HitRegion()) {
        for (const gfx::TRegion::Span& s : region->Spans()) {
            const int x = std::max(s.Left, area.Left);
            if (s.Y < area.Top || s.Y >= area.Bottom || x >= std::min(s.Right, area.Right)) continue;
            session.PressLeft(button.ClientToScreen({x, s.Y}));
            break;
        }
    }
    if (!button.Pressed()) throw std::runtime_error("the arrow is too small to be pressed");
}

}  // namespace

gfx::TSurface RenderArrow(Arguments& args) {
    const bool pressed = args.TakeFlag("--pressed");
    const auto colorText = args.TakeOption("--color");
    const gfx::TColor color = colorText ? ParseColor(*colorText, "--color") : gfx::clTeal;
    const int width = args.TakeSize("W");
    const int height = args.TakeSize("H");
    const widgets::TButtonDirection direction = ParseDirection(args.TakeWord("DIRECTION"));
    args.ExpectEnd();

    HeadlessSession session;
    gui::TForm& form = session.CreateHostForm(width, height, gfx::clWhite);
    auto& button = HeadlessSession::Fill<widgets::TArrowButton>(form);
    button.SetDirection(direction);
    button.SetButtonColor(color);
    session.Settle();
    if (pressed) Press(session, button);
    return session.Snapshot(form);
}

}  // namespace render
