// The launcher window's stored layout: its controls and their properties, in
// declaration order. FormCreate then sets the final bounds.
#include <functional>

#include "gui/Application.h"
#include "i18n/Messages.h"
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

// A handler that hands its arguments on to a member of the form.
template <class... Args>
std::function<void(Args...)> Handler(TForm1* form, void (TForm1::*method)(Args...)) {
    return [form, method](Args... args) { (form->*method)(args...); };
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
    OnShow = Handler(this, &TForm1::FormShow);
    OnClose = Handler(this, &TForm1::FormClose);

    Panel1 = &Own<TPanel>();
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->SetBounds(0, 0, 212, 104);
    kestBlotter1 = &MakeBlotter(*this, *Panel1, "kestBlotter1", clWhite, "SorimoP1");
    kestBlotter1->OnMouseMove = Handler(this, &TForm1::kestBlotter1MouseMove);

    PaintBox1 = &Own<TPaintBox>();
    PaintBox1->SetName("PaintBox1");
    PaintBox1->SetParent(kestBlotter1);
    PaintBox1->SetBounds(16, 16, 144, 72);
    PaintBox1->ShowHint = false;
    PaintBox1->OnMouseDown = Handler(this, &TForm1::PaintBox1MouseDown);
    PaintBox1->OnMouseUp = Handler(this, &TForm1::PaintBox1MouseUp);
    PaintBox1->OnMouseMove = Handler(this, &TForm1::PaintBox1MouseMove);

    ArrowButton1 = &Own<TArrowButton>();
    ArrowButton1->SetName("ArrowButton1");
    ArrowButton1->SetParent(kestBlotter1);
    ArrowButton1->SetBounds(288, 32, 33, 33);
    ArrowButton1->SetButtonColor(kArrowColor);
    ArrowButton1->SetDirection(widgets::arwUP);
    ArrowButton1->OnClick = Handler(this, &TForm1::ArrowButton1Click);
    ArrowButton2 = &Own<TArrowButton>();
    ArrowButton2->SetName("ArrowButton2");
    ArrowButton2->SetParent(kestBlotter1);
    ArrowButton2->SetBounds(288, 88, 33, 33);
    ArrowButton2->SetButtonColor(kArrowColor);
    ArrowButton2->SetDirection(widgets::arwDOWN);
    ArrowButton2->OnClick = Handler(this, &TForm1::ArrowButton2Click);

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
    // The slot table: its empty slots show Image2's icon.
    slots_ = std::make_unique<TSlotTable>(
        *IconTimer, Image2->Icon(),
        [this](const std::string& path) { return App().Platform().FileIcon(path); },
        [this] { return App().Platform().SettingsFile(); });

    Panel2 = &MakePanel(*this, "Panel2", 212, 0);
    kestBlotter2 = &MakeBlotter(*this, *Panel2, "kestBlotter2", gui::TColor{16772328}, "SorimoP2");
    windowDrag_.Attach(*kestBlotter2);
    Image3 = &MakeImage(*this, *kestBlotter2, "Image3", resources::ToIcon(resources::kBar));
    windowDrag_.Attach(*Image3);

    Panel3 = &MakePanel(*this, "Panel3", 212, 52);
    kestBlotter3 = &MakeBlotter(*this, *Panel3, "kestBlotter3", gui::TColor{16237770}, "SorimoP3");
    Image4 = &MakeImage(*this, *kestBlotter3, "Image4", resources::ToIcon(resources::kSlantedA));
    const TMouseEvent aboutOrHide = Handler(this, &TForm1::Image4MouseUp);
    kestBlotter3->OnMouseUp = aboutOrHide;
    Image4->OnMouseUp = aboutOrHide;

    Timer1 = &MakeTimer(*this, "Timer1", 0, Handler(this, &TForm1::Timer1Timer));
    Timer2 = &MakeTimer(*this, "Timer2", 1000, Handler(this, &TForm1::Timer2Timer));
    Timer3 = &MakeTimer(*this, "Timer3", 0, Handler(this, &TForm1::Timer3Timer));

    OpenDialog1 = &Own<TOpenDialog>();
    OpenDialog1->SetName("OpenDialog1");
    OpenDialog1->Filter = i18n::Tr("All files|*.*");
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
    TaskTray1->OnDblClick = Handler(this, &TForm1::TaskTray1DblClick);
    TaskTray1->OnAreaLost = Handler(this, &TForm1::TaskTray1AreaLost);
    TaskTray1->OnMouseUp = Handler(this, &TForm1::TaskTray1MouseUp);

    Button1 = &MakeHiddenButton(*this, "Button1", "Rewrite", Handler(this, &TForm1::Button1Click));
    Button2 = &MakeHiddenButton(*this, "Button2", "Reload", Handler(this, &TForm1::Button2Click));
    Button3 = &MakeHiddenButton(*this, "Button3", "Inifile", Handler(this, &TForm1::Button3Click));
    Button4 = &MakeHiddenButton(*this, "Button4", "INIFILE2", Handler(this, &TForm1::Button4Click));
}

}  // namespace launcher
