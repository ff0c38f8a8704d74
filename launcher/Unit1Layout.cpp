// The launcher window's stored layout: its controls and their properties, in
// declaration order. FormCreate then sets the final bounds.
#include "gui/Application.h"
#include "launcher/Unit1.h"
#include "resources/ImageLoader.h"
#include "resources/Images.h"
#include "widgets/Blotter2.h"
#include "widgets/TaskTray.h"
#include "widgets/arrowbtn.h"

namespace launcher {

using namespace gui;
using widgets::TArrowButton;
using widgets::TkestBlotter;

namespace {
constexpr TColor kArrowColor = gui::TColor{15301997};  // 0xE97D6D

TPanel& MakePanel(TForm1& form, const char* name, int left, int top) {
    TPanel& panel = form.Own<TPanel>();
    panel.SetName(name);
    panel.SetParent(&form);
    panel.SetBounds(left, top, 52, 52);
    return panel;
}

TkestBlotter& MakeBlotter(TForm1& form, TPanel& parent, const char* name, TColor color,
                          const char* caption) {
    TkestBlotter& blotter = form.Own<TkestBlotter>();
    blotter.SetName(name);
    blotter.SetParent(&parent);
    blotter.SetAlign(alClient);
    blotter.SetBorderWidth(8);
    blotter.SetColor(color);
    blotter.SetCaption(caption);
    return blotter;
}

TImage& MakeImage(TForm1& form, TWinControl& parent, const char* name, const TIcon& icon) {
    TImage& image = form.Own<TImage>();
    image.SetName(name);
    image.SetParent(&parent);
    image.SetBounds(10, 10, 32, 32);
    image.SetIcon(icon);
    return image;
}

TTimer& MakeTimer(TForm1& form, const char* name, int interval, TNotifyEvent handler) {
    TTimer& timer = form.Own<TTimer>();
    timer.SetName(name);
    timer.SetInterval(interval);
    timer.SetOnTimer(std::move(handler));
    return timer;
}

TButton& MakeHiddenButton(TForm1& form, const char* name, const char* caption,
                          TNotifyEvent handler) {
    TButton& button = form.Own<TButton>();
    button.SetName(name);
    button.SetVisible(false);
    button.SetParent(&form);
    button.SetCaption(caption);
    button.OnClick = std::move(handler);
    return button;
}
}  // namespace

void TForm1::ApplyStoredLayout() {
    SetName("Form1");
    BorderStyle = bsNone;
    SetCaption("Sorimo");
    SetIcon(resources::ToIcon(resources::kMainIcon));
    SetBounds(Left(), Top(), 264, 104);
    OnShow = [this](TComponent* s) { FormShow(s); };
    OnClose = [this](TComponent* s, TCloseAction& a) { FormClose(s, a); };

    Panel1 = &Own<TPanel>();
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->SetBounds(0, 0, 212, 104);
    kestBlotter1 = &MakeBlotter(*this, *Panel1, "kestBlotter1", clWhite, "SorimoP1");
    kestBlotter1->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) {
        kestBlotter1MouseMove(s, sh, x, y);
    };

    PaintBox1 = &Own<TPaintBox>();
    PaintBox1->SetName("PaintBox1");
    PaintBox1->SetParent(kestBlotter1);
    PaintBox1->SetBounds(16, 16, 144, 72);
    PaintBox1->ShowHint = false;
    PaintBox1->OnMouseDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) {
        PaintBox1MouseDown(s, b, sh, x, y);
    };
    PaintBox1->OnMouseUp = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) {
        PaintBox1MouseUp(s, b, sh, x, y);
    };
    PaintBox1->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) {
        PaintBox1MouseMove(s, sh, x, y);
    };

    ArrowButton1 = &Own<TArrowButton>();
    ArrowButton1->SetName("ArrowButton1");
    ArrowButton1->SetParent(kestBlotter1);
    ArrowButton1->SetBounds(288, 32, 33, 33);
    ArrowButton1->SetButtonColor(kArrowColor);
    ArrowButton1->SetDirection(widgets::arwUP);
    ArrowButton1->OnClick = [this](TComponent* s) { ArrowButton1Click(s); };
    ArrowButton2 = &Own<TArrowButton>();
    ArrowButton2->SetName("ArrowButton2");
    ArrowButton2->SetParent(kestBlotter1);
    ArrowButton2->SetBounds(288, 88, 33, 33);
    ArrowButton2->SetButtonColor(kArrowColor);
    ArrowButton2->SetDirection(widgets::arwDOWN);
    ArrowButton2->OnClick = [this](TComponent* s) { ArrowButton2Click(s); };

    Image1 = &Own<TImage>();
    Image1->SetName("Image1");
    Image1->SetVisible(false);
    Image1->SetParent(this);
    Image1->SetBitmap(resources::ToBitmap(resources::kCellStrip));
    Image2 = &Own<TImage>();
    Image2->SetName("Image2");
    Image2->SetVisible(false);
    Image2->SetParent(this);
    Image2->SetIcon(resources::ToIcon(resources::kHeart));

    Panel2 = &MakePanel(*this, "Panel2", 212, 0);
    kestBlotter2 = &MakeBlotter(*this, *Panel2, "kestBlotter2", gui::TColor{16772328}, "SorimoP2");
    kestBlotter2->OnMouseDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x,
                                       int y) { kestBlotter2MouseDown(s, b, sh, x, y); };
    kestBlotter2->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) {
        kestBlotter2MouseMove(s, sh, x, y);
    };
    kestBlotter2->OnMouseUp = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) {
        kestBlotter2MouseUp(s, b, sh, x, y);
    };
    Image3 = &MakeImage(*this, *kestBlotter2, "Image3", resources::ToIcon(resources::kBar));
    Image3->OnMouseDown = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) {
        Image3MouseDown(s, b, sh, x, y);
    };
    Image3->OnMouseMove = [this](TComponent* s, TShiftState sh, int x, int y) {
        Image3MouseMove(s, sh, x, y);
    };
    Image3->OnMouseUp = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) {
        Image3MouseUp(s, b, sh, x, y);
    };

    Panel3 = &MakePanel(*this, "Panel3", 212, 52);
    kestBlotter3 = &MakeBlotter(*this, *Panel3, "kestBlotter3", gui::TColor{16237770}, "SorimoP3");
    Image4 = &MakeImage(*this, *kestBlotter3, "Image4", resources::ToIcon(resources::kSlantedA));
    const TMouseEvent aboutOrHide = [this](TComponent* s, TMouseButton b, TShiftState sh, int x,
                                           int y) { Image4MouseUp(s, b, sh, x, y); };
    kestBlotter3->OnMouseUp = aboutOrHide;
    Image4->OnMouseUp = aboutOrHide;

    Timer1 = &MakeTimer(*this, "Timer1", 0, [this](TComponent* s) { Timer1Timer(s); });
    Timer2 = &MakeTimer(*this, "Timer2", 1000, [this](TComponent* s) { Timer2Timer(s); });
    Timer3 = &MakeTimer(*this, "Timer3", 0, [this](TComponent* s) { Timer3Timer(s); });

    OpenDialog1 = &Own<TOpenDialog>();
    OpenDialog1->SetName("OpenDialog1");
    OpenDialog1->Filter = "すべてのファイル|*.*";
    OpenDialog1->Options = ofHideReadOnly | ofEnableSizing;

    // Registering adds the icon to the notification area while the layout is
    // applied: a refusal ends start-up.
    TaskTray1 = &Own<widgets::TTaskTray>();
    TaskTray1->SetName("TaskTray1");
    TaskTray1->SetTipString("Sorimo");
    const TIcon heart = resources::ToIcon(resources::kHeart);
    TaskTray1->SetIcon(&heart);
    TaskTray1->SetIconID(1);
    TaskTray1->SetRegistered(true);
    TaskTray1->OnDblClick = [this](widgets::TTaskTray* t, TMouseButton b) { TaskTray1DblClick(t, b); };
    TaskTray1->OnAreaLost = [this](TComponent* s) { TaskTray1AreaLost(s); };
    TaskTray1->OnMouseUp = [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) {
        TaskTray1MouseUp(s, b, sh, x, y);
    };

    Button1 = &MakeHiddenButton(*this, "Button1", "Rewrite", [this](TComponent* s) { Button1Click(s); });
    Button2 = &MakeHiddenButton(*this, "Button2", "Reload", [this](TComponent* s) { Button2Click(s); });
    Button3 = &MakeHiddenButton(*this, "Button3", "Inifile", [this](TComponent* s) { Button3Click(s); });
    Button4 = &MakeHiddenButton(*this, "Button4", "INIFILE2", [this](TComponent* s) { Button4Click(s); });
}

}  // namespace launcher
