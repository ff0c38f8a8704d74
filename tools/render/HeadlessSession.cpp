#include "tools/render/HeadlessSession.h"

#include <stdexcept>

namespace render {

gui::TForm& HeadlessSession::CreateHostForm(int width, int height, gfx::TColor color) {
    gui::TForm* form = nullptr;
    app_.CreateForm(form, platform::WindowKind::Main);
    form->SetBounds(0, 0, width, height);
    form->SetColor(color);
    form->Show();
    return *form;
}

void HeadlessSession::PressLeft(gfx::TPoint screen) {
    platform_.MoveTo(screen.X, screen.Y);
    platform_.Press(gfx::mbLeft);
    Settle();
}

gfx::TSurface HeadlessSession::Snapshot(gui::TForm& form) const {
    const platform::HeadlessWindow* window = platform_.WindowByHandle(form.Handle());
    if (!window) throw std::logic_error("the form has no window");
    return window->Snapshot();
}

}  // namespace render
