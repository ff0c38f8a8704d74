// sorimo-render blotter W H COLOR: a blotter panel filling a form.
#include "tools/render/Commands.h"
#include "tools/render/HeadlessSession.h"
#include "widgets/Blotter2.h"

namespace render {

gfx::TSurface RenderBlotter(Arguments& args) {
    const int width = args.TakeSize("W");
    const int height = args.TakeSize("H");
    const gfx::TColor color = args.TakeColor("COLOR");
    args.ExpectEnd();

    HeadlessSession session;
    gui::TForm& form = session.CreateHostForm(width, height, gfx::clWhite);
    auto& blotter = HeadlessSession::Fill<widgets::TkestBlotter>(form);
    blotter.SetColor(color);
    session.Settle();
    return session.Snapshot(form);
}

}  // namespace render
