// sorimo-render about and sorimo-render hint TEXT: the about box and the
// hover hint window as the program shows them. The forms are created
// directly on the headless backend, without the launcher.
#include "launcher/Unit2.h"
#include "launcher/Unit3.h"
#include "tools/render/Commands.h"
#include "tools/render/HeadlessSession.h"

namespace render {

gfx::TSurface RenderAbout(Arguments& args) {
    args.ExpectEnd();
    HeadlessSession session;
    launcher::TForm2* form = nullptr;
    session.App().CreateForm(form);
    form->Show();
    session.Settle();
    return session.Snapshot(*form);
}

// The launcher sizes the hint window to its label before showing it.
gfx::TSurface RenderHint(Arguments& args) {
    const std::string text = args.TakeWord("TEXT");
    args.ExpectEnd();
    HeadlessSession session;
    launcher::TForm3* form = nullptr;
    session.App().CreateForm(form);
    form->Label1->SetCaption(text);
    form->SetWidth(form->Label1->Width());
    form->SetHeight(form->Label1->Height());
    form->Show();
    session.Settle();
    return session.Snapshot(*form);
}

}  // namespace render
