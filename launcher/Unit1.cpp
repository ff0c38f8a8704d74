#include "launcher/Unit1.h"

#include <algorithm>

#include "gui/Application.h"
#include "gui/ScreenPlacement.h"
#include "gui/FlagScope.h"
#include "settings/IniFile.h"
#include "launcher/FmxUtils.h"
#include "launcher/Unit2.h"
#include "launcher/Unit3.h"
#include "widgets/Blotter2.h"
#include "widgets/TaskTray.h"
#include "widgets/arrowbtn.h"

namespace launcher {

using namespace gui;

namespace {
constexpr int SW_SHOW = 5;
constexpr int kMinOffset = 1;
constexpr int kMaxOffset = 6;
}  // namespace

std::string DirectoryPart(const std::string& path) {
    const std::size_t last = path.find_last_of("\\/:");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

TForm1::TForm1(TApplication& app)
    : TForm(app, platform::WindowKind::Main), windowDrag_(*this) {
    OnCreate = [this](TComponent* s) { FormCreate(s); };
    IconTimer = &Own<TTimer>();
    IconTimer->SetInterval(0);
    Construct([this] { ApplyStoredLayout(); });
}

TForm1::~TForm1() = default;

// ------------------------------------------------------------ creation

void TForm1::FormCreate(TComponent*) {
    if (Native()) Native()->HideTaskbarEntry();
    Panel1->SetBounds(0, 0, 212, 104);
    Panel2->SetBounds(212, 0, 52, 52);
    Panel3->SetBounds(212, 52, 52, 52);
    PaintBox1->SetBounds(16, 16, 144, 72);
    ArrowButton1->SetBounds(160, 16, 36, 36);
    ArrowButton2->SetBounds(160, 52, 36, 36);
    Image3->SetBounds(10, 10, 32, 32);
    Image4->SetBounds(10, 10, 32, 32);
    SetWidth(264);
    SetHeight(104);
    LoadSettings();
    App().OnMessage = [this](TMsg& msg, bool& handled) { AppMessage(msg, handled); };
    slots_->BeginIconLookup();
    Timer1->SetInterval(1000);
    SetUpFileDrops();
}

void TForm1::LoadSettings() {
    const TIniFile ini(App().Platform().SettingsFile());
    SetLeft(ini.ReadInteger("FORM", "LEFT", 0));
    SetTop(ini.ReadInteger("FORM", "TOP", 0));
    slots_->Read(ini);
    // An offset outside 1..6 would make the grid address slots outside the
    // table; it is brought into range as it is read.
    rowOffset_ = std::clamp(ini.ReadInteger("FORM", "OFFSET", 1), kMinOffset, kMaxOffset);
    KeepReachable();
}

bool TForm1::KeepReachable() {
    // A window on no monitor could never be reached again (a place in a
    // part of the desktop that no monitor shows, or on a monitor that has
    // gone): it is moved just onto the primary monitor. A window partly on
    // any monitor stays.
    const TPoint now{Left(), Top()};
    const TPoint place = ReachablePosition(now, Width(), Height(), App().Platform().Monitors());
    if (place == now) return false;
    SetBounds(place.X, place.Y, Width(), Height());
    return true;
}

void TForm1::SavePosition() {
    TIniBatch batch;
    batch.WriteInteger("FORM", "LEFT", Left());
    batch.WriteInteger("FORM", "TOP", Top());
    TIniFile(App().Platform().SettingsFile()).Write(batch);
}

void TForm1::MonitorsChanged() {
    if (KeepReachable()) SavePosition();
}

TIniBatch TForm1::FormKeys() const {
    TIniBatch batch;
    batch.WriteInteger("FORM", "LEFT", Left());
    batch.WriteInteger("FORM", "TOP", Top());
    batch.WriteInteger("FORM", "OFFSET", rowOffset_);
    return batch;
}

// ------------------------------------------------------------ the grid

void TForm1::DrawCell(int col, int row, bool pressed) {
    slots_->FinishIconLookup();
    TCanvas& canvas = PaintBox1->Canvas();
    canvas.CopyMode = SRCCOPY;
    canvas.BitBlt(kCellSize * col, kCellSize * row, kCellSize, kCellSize,
                  Image1->Bitmap().Surface(), 0, pressed ? kCellSize : 0);
    if (const TIcon* icon = slots_->Icon(SlotAt(col, row)).Get())
        canvas.Draw(kCellSize * col + 2, kCellSize * row + 2, *icon);
}

void TForm1::Button1Click(TComponent*) {
    for (int row = 0; row <= 1; ++row)
        for (int col = 0; col <= 3; ++col) DrawCell(col, row, false);
    // A repaint while files are dragged over a cell keeps that cell pressed.
    if (dragSpot_.Kind == TDropSpot::Cell) DrawCell(dragSpot_.Col, dragSpot_.Row, true);
}

void TForm1::Timer1Timer(TComponent*) {
    Timer1->SetInterval(0);
    Button1Click(this);
}

void TForm1::Timer2Timer(TComponent*) {
    Timer2->SetInterval(0);
    Button1Click(this);
}

void TForm1::AppMessage(TMsg& Msg, bool&) {
    if (Msg.message == WM_PAINT) Timer2->SetInterval(50);
}

void TForm1::HitTest(int x, int y) {
    cellCol_ = std::clamp(x / kCellSize, 0, 3);
    cellRow_ = std::clamp(y / kCellSize, 0, 1);
    currentSlot_ = SlotAt(cellCol_, cellRow_);
}

void TForm1::PaintBox1MouseDown(TComponent*, TMouseButton, TShiftState, int X, int Y) {
    HitTest(X, Y);
    DrawCell(cellCol_, cellRow_, true);
}

void TForm1::PaintBox1MouseUp(TComponent*, TMouseButton Button, TShiftState, int, int) {
    CloseHint();
    // busy_ for the whole of the release, also when a step throws.
    gui::TFlagScope busy(busy_);
    DrawCell(cellCol_, cellRow_, false);
    if (Button != mbRight && SlotPath(currentSlot_) != kNoFile)
        LaunchCurrentSlot();
    else
        AssignCurrentSlot();
}

void TForm1::LaunchCurrentSlot() {
    const std::string path = SlotPath(currentSlot_);
    OpenDialog1->FileName = path;
    // A pipe, a device or a socket has no default action to run, and the
    // slot is not emptied either: the file is there. Nothing happens.
    if (IsSpecialFile(path)) return;
    if (ShellOpenFile(App(), path, "", DirectoryPart(path), SW_SHOW) >= 32) return;
    // Only a deleted file costs the slot; one out of reach (a drive that is
    // not plugged in) or without an application keeps it, silently.
    if (!IsDeletedFile(path)) return;
    slots_->Empty(currentSlot_);
    SlotChanged();
}

void TForm1::AssignCurrentSlot() {
    const int slot = currentSlot_;
    if (OpenDialog1->Execute()) {
        const std::string& chosen = OpenDialog1->FileName;
        // A line break would split the settings line and inject keys: such a
        // choice counts as cancelled.
        if (chosen.find_first_of("\r\n") == std::string::npos) slots_->SetPath(slot, chosen);
    }
    SlotChanged();
}

void TForm1::SlotChanged() {
    Button2Click(this);
    editedSlot_ = currentSlot_;
    Button4Click(this);
    Button1Click(this);
}

void TForm1::ArrowButton1Click(TComponent*) {
    if (rowOffset_ == kMinOffset) return;
    rowOffset_ = std::clamp(rowOffset_ - 1, kMinOffset, kMaxOffset);
    Button1Click(this);
}

void TForm1::ArrowButton2Click(TComponent*) {
    if (rowOffset_ == kMaxOffset) return;
    rowOffset_ = std::clamp(rowOffset_ + 1, kMinOffset, kMaxOffset);
    Button1Click(this);
}

// ------------------------------------------------------------ the hint

void TForm1::PaintBox1MouseMove(TComponent*, TShiftState, int X, int Y) {
    HitTest(X, Y);
    if (!Form3) return;
    const int left = Left() + PaintBox1->Left() + X + 13;
    const int top = Top() + PaintBox1->Top() + Y + 3;
    const std::string& path = SlotPath(currentSlot_);
    Form3->Label1->SetCaption(path == kNoFile ? "NOFILE!!" : path);
    Form3->SetLeft(left);
    Form3->SetTop(top);
    Form3->SetWidth(Form3->Label1->Width());
    Form3->SetHeight(Form3->Label1->Height());
    Timer3->SetInterval(500);
}

void TForm1::Timer3Timer(TComponent*) {
    Timer3->SetInterval(0);
    if (!busy_ && !FileDragInside() && Form3) Form3->Show();
}

void TForm1::kestBlotter1MouseMove(TComponent*, TShiftState, int, int) { CloseHint(); }

void TForm1::CloseHint() {
    if (Form3) Form3->Hide();
}

// ------------------------------------------------------------ window handling

void TForm1::Image4MouseUp(TComponent*, TMouseButton Button, TShiftState, int, int) {
    if (Button == mbLeft) {
        if (Form2) Form2->ShowModal();
        return;
    }
    HideToTray();
}

// Hides the window only while its tray icon is shown: without one there
// would be no way to bring it back.
void TForm1::HideToTray() {
    if (!TaskTray1 || !TaskTray1->Added()) return;
    hiddenToTray_ = true;
    Hide();
}

// The notification area went away with the icon: a hidden window comes back.
void TForm1::TaskTray1AreaLost(TComponent*) {
    if (!hiddenToTray_) return;
    Show();
    hiddenToTray_ = false;
}

void TForm1::TaskTray1MouseUp(TComponent*, TMouseButton Button, TShiftState, int, int) {
    if (hiddenToTray_ || Button != mbRight) return;
    HideToTray();
}

void TForm1::TaskTray1DblClick(widgets::TTaskTray*, TMouseButton Button) {
    if (hiddenToTray_ && Button == mbLeft) {
        Show();
        hiddenToTray_ = false;
    }
    SetWindowState(wsNormal);
}

void TForm1::ComeForward() {
    Show();
    hiddenToTray_ = false;
    SetWindowState(wsNormal);
    // A box the launcher opened stays above it.
    if (TForm* box = App().ActiveModal(); box && box != this) box->Show();
}

void TForm1::ToggleShown() {
    const bool trayShown = TaskTray1 && TaskTray1->Added();
    // With a box open the launcher is busy with it: it only comes forward.
    if (Visible() && trayShown && !App().ActiveModal()) {
        CloseHint();
        hiddenToTray_ = true;
        Hide();
        return;
    }
    ComeForward();
}

void TForm1::FormShow(TComponent*) {
    if (Native()) Native()->HideTaskbarEntry();
}

void TForm1::FormClose(TComponent*, TCloseAction&) { SaveAllSettings(); }

}  // namespace launcher
