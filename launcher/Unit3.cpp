#include "launcher/Unit3.h"

#include "resources/ImageLoader.h"
#include "resources/Images.h"

namespace launcher {

using namespace gui;

TForm3::TForm3(TApplication& app) : TForm(app, platform::WindowKind::Tooltip) {
    Construct([this] { ApplyStoredLayout(); });
}

void TForm3::ApplyStoredLayout() {
    SetName("Form3");
    BorderStyle = bsNone;
    SetCaption("Sorimoヒント");
    SetColor(gui::TColor{16711126});  // 0xFEFDD6
    SetIcon(resources::ToIcon(resources::kHeart));
    SetBounds(212, 455, 315, 74);

    Label1 = &Own<TLabel>();
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->SetBounds(0, 0, 65, 17);
    Label1->SetCaption("NOFILE!!");
    TFont font;
    font.SetName("ＭＳ Ｐゴシック");
    font.SetHeight(-12);
    font.SetColor(gui::TColor{15301997});  // 0xE97D6D
    font.SetStyle(0);
    font.SetCharset(SHIFTJIS_CHARSET);
    Label1->SetFont(font);
    Label1->OnClick = [this](TComponent* s) { Label1Click(s); };
    Label1->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) {
        Label1MouseMove(s, sh, x, y);
    };
}

void TForm3::Label1Click(TComponent*) { Hide(); }

void TForm3::Label1MouseMove(TComponent*, TShiftState, int, int) { Hide(); }

}  // namespace launcher
