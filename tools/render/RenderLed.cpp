// sorimo-render led W H rest|raised|sunk [--caption TEXT] [--face COLOR]
// [--background COLOR] [--off COLOR] [--on COLOR] [--down COLOR]: an LED
// button filling the picture. The picture is filled with the background
// first; the button then paints over it with the face as its parent's
// colour, so the corners outside the rounded face keep the background.
#include <optional>
#include <stdexcept>
#include <string>

#include "tools/render/Commands.h"
#include "tools/render/HeadlessSession.h"
#include "widgets/Veltobtn.h"

namespace render {

namespace {

constexpr gfx::TColor kDefaultFace = gfx::TColor{0xFEFDD6};  // the about box's panel

enum class LedLook { Rest, Raised, Sunk };

LedLook ParseLook(const std::string& word) {
    if (word == "rest") return LedLook::Rest;
    if (word == "raised") return LedLook::Raised;
    if (word == "sunk") return LedLook::Sunk;
    throw UsageError("LOOK must be rest, raised or sunk, not '" + word + "'");
}

std::optional<gfx::TColor> TakeColorOption(Arguments& args, std::string_view name) {
    const auto text = args.TakeOption(name);
    if (!text) return {};
    return ParseColor(*text, name);
}

struct LedColors {
    std::optional<gfx::TColor> Off, On, Down;
};

void ApplyColors(widgets::TVeltoButton& button, const LedColors& colors) {
    if (colors.Off) button.SetLedOffColor(*colors.Off);
    if (colors.On) button.SetLedOnColor(*colors.On);
    if (colors.Down) button.SetLedDownColor(*colors.Down);
}

// The looks exist only through the mouse: raised with the pointer over
// the button, sunk with the left button held on it. Both repaint the button
// at once, straight over the background.
void BringToLook(HeadlessSession& session, widgets::TVeltoButton& button, LedLook look) {
    const gfx::TPoint centre = button.ClientToScreen({button.Width() / 2, button.Height() / 2});
    switch (look) {
        case LedLook::Rest:
            button.Repaint();
            break;
        case LedLook::Raised:
            session.Platform().MoveTo(centre.X, centre.Y);
            session.Settle();
            break;
        case LedLook::Sunk:
            session.PressLeft(centre);
            break;
    }
}

void FillBackground(gui::TForm& form, gfx::TColor color) {
    gfx::TCanvas& canvas = form.Canvas();
    canvas.Brush = {color, gfx::bsSolid};
    canvas.FillRect(form.ClientRect());
}

}  // namespace

gfx::TSurface RenderLed(Arguments& args) {
    const auto caption = args.TakeOption("--caption");
    const gfx::TColor face = TakeColorOption(args, "--face").value_or(kDefaultFace);
    const gfx::TColor background = TakeColorOption(args, "--background").value_or(face);
    LedColors colors;
    colors.Off = TakeColorOption(args, "--off");
    colors.On = TakeColorOption(args, "--on");
    colors.Down = TakeColorOption(args, "--down");
    const int width = args.TakeSize("W");
    const int height = args.TakeSize("H");
    const LedLook look = ParseLook(args.TakeWord("LOOK"));
    args.ExpectEnd();

    HeadlessSession session;
    gui::TForm& form = session.CreateHostForm(width, height, face);
    auto& button = HeadlessSession::Fill<widgets::TVeltoButton>(form);
    if (caption) button.SetCaption(*caption);
    ApplyColors(button, colors);
    session.Settle();
    FillBackground(form, background);
    BringToLook(session, button, look);
    session.Settle();
    return session.Snapshot(form);
}

}  // namespace render
