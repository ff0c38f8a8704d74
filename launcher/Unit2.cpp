#include "launcher/Unit2.h"

namespace launcher {

using namespace gui;

TForm2::TForm2(TApplication& app) : TForm(app, platform::WindowKind::Dialog) {
    Construct([this] { ApplyStoredLayout(); });
}

void TForm2::ApplyStoredLayout() {
    SetName("Form2");
    BorderStyle = bsNone;
    Position = poScreenCenter;
    SetCaption("About Sorimo");
    SetBounds(0, 0, 327, 152);
}

}  // namespace launcher
