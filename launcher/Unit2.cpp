#include "launcher/Unit2.h"

#include "resources/ImageLoader.h"
#include "resources/Images.h"
#include "widgets/Blotter2.h"
#include "widgets/ShadoLbl.h"
#include "widgets/Veltobtn.h"

namespace launcher {

using namespace gui;
using widgets::TShadowLabel;

namespace {

TFont MakeFont(const char* name, int height, TColor color, TFontStyles style) {
    TFont font;
    font.SetName(name);
    font.SetHeight(height);
    font.SetColor(color);
    font.SetStyle(style);
    font.SetCharset(SHIFTJIS_CHARSET);
    return font;
}

template <class T>
T& MakeControl(TForm2& form, TWinControl& parent, const char* name, TRect bounds) {
    T& control = form.Own<T>();
    control.SetName(name);
    control.SetParent(&parent);
    control.SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    return control;
}

// Both labels keep the highlight up and to the left in white.
void SetWhiteHighlight(TShadowLabel& label) {
    label.Highlight().SetColor(clWhite);
    label.Highlight().SetOffsetLeft(-1);
    label.Highlight().SetOffsetTop(-1);
}

}  // namespace

TForm2::TForm2(TApplication& app) : TForm(app, platform::WindowKind::Dialog) {
    OnKeyDown = [this](TComponent* s, TKey key, TShiftState shift) { FormKeyDown(s, key, shift); };
    Construct([this] { ApplyStoredLayout(); });
}

void TForm2::ApplyStoredLayout() {
    SetName("Form2");
    BorderStyle = bsNone;
    Position = poScreenCenter;
    SetCaption("About Sorimo");
    SetColor(clBtnFace);
    SetIcon(resources::ToIcon(resources::kMainIcon));
    SetFont(MakeFont("System", -13, clWindowText, 0));
    SetBounds(Left(), Top(), 327, 152);

    kestBlotter1 =
        &MakeControl<widgets::TkestBlotter>(*this, *this, "kestBlotter1", {0, 0, 327, 152});
    kestBlotter1->SetAlign(alClient);
    kestBlotter1->SetBorderWidth(8);
    kestBlotter1->SetColor(gui::TColor{16711126});  // 0xFEFDD6
    kestBlotter1->SetCaption("Sorimo AboutBox");

    // The main icon at its natural size; the rest of the picture shows the
    // panel.
    Image1 = &MakeControl<TImage>(*this, *kestBlotter1, "Image1", Bounds(32, 24, 41, 41));
    Image1->SetIcon(resources::ToIcon(resources::kMainIcon));
    // Creation order is painting order.
    MakeVersionLabel();
    MakeButton();
    MakeShadowLabels();
}

void TForm2::MakeVersionLabel() {
    Label2 = &MakeControl<TLabel>(*this, *kestBlotter1, "Label2", Bounds(200, 54, 86, 18));
    Label2->SetCaption("Version 4.05");
    Label2->SetColor(gui::TColor{16744576});  // 0xFF8080, never painted: transparent
    Label2->SetTransparent(true);
    Label2->SetFont(MakeFont("System", -13, clBlue, 0));
}

void TForm2::MakeButton() {
    VeltoButton1 = &MakeControl<widgets::TVeltoButton>(*this, *kestBlotter1, "VeltoButton1",
                                                       Bounds(124, 114, 79, 27));
    VeltoButton1->SetCaption("OK");
    VeltoButton1->SetLedOffColor(gui::TColor{16711808});  // 0xFF0080
    VeltoButton1->SetLedOnColor(clAqua);
    VeltoButton1->SetLedDownColor(clWhite);
    VeltoButton1->SetFont(
        MakeFont("ＭＳ Ｐゴシック", -16, gui::TColor{13066324}, fsBold | fsItalic));  // 0xC76054
    VeltoButton1->OnClick = [this](TComponent* s) { VeltoButton1Click(s); };
}

void TForm2::MakeShadowLabels() {
    ShadowLabel1 =
        &MakeControl<TShadowLabel>(*this, *kestBlotter1, "ShadowLabel1", Bounds(20, 88, 286, 13));
    ShadowLabel1->SetCaption("制作 ソリモ工房 ／ ご愛用ありがとうございます");
    ShadowLabel1->SetFont(MakeFont("ＭＳ 明朝", -13, clWindowText, 0));
    SetWhiteHighlight(*ShadowLabel1);

    ShadowLabel2 =
        &MakeControl<TShadowLabel>(*this, *kestBlotter1, "ShadowLabel2", Bounds(88, 32, 146, 18));
    ShadowLabel2->SetCaption("Sorimo  ～ SORIMO ～");
    // Colour and gradient colour are never painted: the label is transparent.
    ShadowLabel2->SetColor(clInfoBk);
    ShadowLabel2->SetGradationColor(gui::TColor{15301997});  // 0xE97D6D
    ShadowLabel2->SetTransparent(true);
    ShadowLabel2->SetFont(MakeFont("System", -13, gui::TColor{14671629}, fsItalic));  // 0xDFDF0D
    SetWhiteHighlight(*ShadowLabel2);
    ShadowLabel2->Shadow().SetColor(clBlue);
}

// Closing a modally shown form ends its modal loop; the form stays for the
// next showing.
void TForm2::VeltoButton1Click(TComponent*) {
    Close();
}

void TForm2::FormKeyDown(TComponent* Sender, TKey Key, TShiftState) {
    if (Key == TKey::Escape || Key == TKey::Return || Key == TKey::KeypadEnter) VeltoButton1Click(Sender);
}

}  // namespace launcher
