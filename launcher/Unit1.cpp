#include "launcher/Unit1.h"

#include <algorithm>

#include "gui/Application.h"
#include "settings/IniFile.h"
#include "launcher/FmxUtils.h"
#include "launcher/Unit2.h"
#include "launcher/Unit3.h"
#include "widgets/Blotter2.h"
#include "widgets/arrowbtn.h"

namespace launcher {

using namespace gui;

namespace {
constexpr int SW_SHOW = 5;
constexpr int kMinOffset = 1;
constexpr int kMaxOffset = 6;

// Keeps Busy set for the whole of a release, also when a step throws.
class BusyScope {
public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& busy_;
};
}  // namespace

std::string DirectoryPart(const std::string& path) {
    const std::size_t last = path.find_last_of("\\/:");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

TForm1::TForm1(TApplication& app) : TForm(app, platform::WindowKind::Main) {
    OnCreate = [this](TComponent* s) { FormCreate(s); };
    Construct([this] { ApplyStoredLayout(); });
}

TForm1::~TForm1() = default;

const TIcon& TForm1::DefaultIcon() const { return Image2->Icon(); }

std::string TForm1::SettingsFile() const { return App().Platform().SettingsFile(); }

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
    Button2Click(this);
    Timer1->SetInterval(1000);
}

void TForm1::LoadSettings() {
    const TIniFile ini(SettingsFile());
    SetLeft(ini.ReadInteger("FORM", "LEFT", 0));
    SetTop(ini.ReadInteger("FORM", "TOP", 0));
    for (int k = 1; k <= kSlotCount; ++k)
        SlotPath[k] = ini.ReadString("FILES", std::to_string(k), kNoFile);
    // An offset outside 1..6 would make the grid address slots outside the
    // table; it is brought into range as it is read.
    RowOffset = std::clamp(ini.ReadInteger("FORM", "OFFSET", 1), kMinOffset, kMaxOffset);
    KeepReachable();
}

void TForm1::KeepReachable() {
    // A window wholly off the screen could never be reached again: such a
    // stored position is moved just onto it. A partly visible one stays.
    const TRect screen = App().Platform().ScreenRect();
    if (!Intersect(BoundsRect(), screen).IsEmpty()) return;
    SetLeft(std::clamp(Left(), screen.Left, std::max(screen.Left, screen.Right - Width())));
    SetTop(std::clamp(Top(), screen.Top, std::max(screen.Top, screen.Bottom - Height())));
}

// ------------------------------------------------------------ slot table

void TForm1::Button2Click(TComponent*) {
    for (int k = 1; k <= kSlotCount; ++k) {
        if (SlotPath[k] == kNoFile) {
            SlotIcon[k].Borrow(&DefaultIcon());
            continue;
        }
        try {
            if (auto icon = App().Platform().FileIcon(SlotPath[k]))
                SlotIcon[k].Own(std::move(*icon));
            else
                SlotIcon[k].Borrow(nullptr);  // no icon: the bare face
        } catch (const std::exception&) {
            // A fault inside the lookup empties the slot (in memory only).
            SlotIcon[k].Borrow(&DefaultIcon());
            SlotPath[k] = kNoFile;
        }
    }
}

void TForm1::Button3Click(TComponent*) {
    TIniBatch batch;
    AddFormKeys(batch);
    for (int k = 1; k <= kSlotCount; ++k) batch.WriteString("FILES", std::to_string(k), SlotPath[k]);
    TIniFile(SettingsFile()).Write(batch);
}

void TForm1::Button4Click(TComponent*) {
    TIniBatch batch;
    AddFormKeys(batch);
    if (EditedSlot >= 1 && EditedSlot <= kSlotCount)
        batch.WriteString("FILES", std::to_string(EditedSlot), SlotPath[EditedSlot]);
    TIniFile(SettingsFile()).Write(batch);
}

void TForm1::AddFormKeys(TIniBatch& batch) const {
    batch.WriteInteger("FORM", "LEFT", Left());
    batch.WriteInteger("FORM", "TOP", Top());
    batch.WriteInteger("FORM", "OFFSET", RowOffset);
}

// ------------------------------------------------------------ the grid

void TForm1::DrawCell(int col, int row, bool pressed) {
    TCanvas& canvas = PaintBox1->Canvas();
    canvas.CopyMode = SRCCOPY;
    canvas.BitBlt(kCellSize * col, kCellSize * row, kCellSize, kCellSize,
                  Image1->Bitmap().Surface(), 0, pressed ? kCellSize : 0);
    if (const TIcon* icon = SlotIcon[SlotAt(col, row)].Get())
        canvas.Draw(kCellSize * col + 2, kCellSize * row + 2, *icon);
}

void TForm1::Button1Click(TComponent*) {
    for (int row = 0; row <= 1; ++row)
        for (int col = 0; col <= 3; ++col) DrawCell(col, row, false);
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
    MouseX = x;
    MouseY = y;
    CellCol = std::clamp(x / kCellSize, 0, 3);
    CellRow = std::clamp(y / kCellSize, 0, 1);
    CurrentSlot = SlotAt(CellCol, CellRow);
}

void TForm1::PaintBox1MouseDown(TComponent*, TMouseButton, TShiftState, int X, int Y) {
    HitTest(X, Y);
    DrawCell(CellCol, CellRow, true);
}

void TForm1::PaintBox1MouseUp(TComponent*, TMouseButton Button, TShiftState, int, int) {
    CloseHint();
    BusyScope busy(Busy);
    DrawCell(CellCol, CellRow, false);
    if (Button != mbRight && SlotPath[CurrentSlot] != kNoFile)
        LaunchCurrentSlot();
    else
        AssignCurrentSlot();
}

void TForm1::LaunchCurrentSlot() {
    const std::string path = SlotPath[CurrentSlot];
    OpenDialog1->FileName = path;
    if (ShellOpenFile(App(), path, "", DirectoryPart(path), SW_SHOW) >= 32) return;
    SlotPath[CurrentSlot] = kNoFile;
    SlotIcon[CurrentSlot].Borrow(&DefaultIcon());
    SlotChanged();
}

void TForm1::AssignCurrentSlot() {
    const int slot = CurrentSlot;
    if (OpenDialog1->Execute()) {
        const std::string& chosen = OpenDialog1->FileName;
        // A line break would split the settings line and inject keys: such a
        // choice counts as cancelled.
        if (chosen.find_first_of("\r\n") == std::string::npos) SlotPath[slot] = chosen;
    }
    SlotChanged();
}

void TForm1::SlotChanged() {
    Button2Click(this);
    EditedSlot = CurrentSlot;
    Button4Click(this);
    Button1Click(this);
}

void TForm1::ArrowButton1Click(TComponent*) {
    if (RowOffset == kMinOffset) return;
    RowOffset = std::clamp(RowOffset - 1, kMinOffset, kMaxOffset);
    Button1Click(this);
}

void TForm1::ArrowButton2Click(TComponent*) {
    if (RowOffset == kMaxOffset) return;
    RowOffset = std::clamp(RowOffset + 1, kMinOffset, kMaxOffset);
    Button1Click(this);
}

// ------------------------------------------------------------ the hint

void TForm1::PaintBox1MouseMove(TComponent*, TShiftState, int X, int Y) {
    HitTest(X, Y);
    if (!Form3) return;
    const int left = Left() + PaintBox1->Left() + X + 13;
    const int top = Top() + PaintBox1->Top() + Y + 3;
    const std::string& path = SlotPath[CurrentSlot];
    Form3->Label1->SetCaption(path == kNoFile ? "NOFILE!!" : path);
    Form3->SetLeft(left);
    Form3->SetTop(top);
    Form3->SetWidth(Form3->Label1->Width());
    Form3->SetHeight(Form3->Label1->Height());
    Timer3->SetInterval(500);
}

void TForm1::Timer3Timer(TComponent*) {
    Timer3->SetInterval(0);
    if (!Busy && Form3) Form3->Show();
}

void TForm1::kestBlotter1MouseMove(TComponent*, TShiftState, int, int) { CloseHint(); }

void TForm1::CloseHint() {
    if (Form3) Form3->Hide();
}

// ------------------------------------------------------------ window handling

void TForm1::kestBlotter2MouseDown(TComponent*, TMouseButton Button, TShiftState, int X, int Y) {
    if (Button != mbLeft) return;
    Dragging = true;
    DragX = kestBlotter2->Left() + X;
    DragY = kestBlotter2->Top() + Y;
}

void TForm1::kestBlotter2MouseMove(TComponent*, TShiftState, int X, int Y) {
    if (!Dragging) return;
    // The pressed point stays under the pointer: the move on the screen is
    // the move in the form times the screen pixels per pixel of the form.
    const int scale = PixelScale();
    const int left = Left() + (kestBlotter2->Left() + X - DragX) * scale;
    const int top = Top() + (kestBlotter2->Top() + Y - DragY) * scale;
    SetLeft(left);
    SetTop(top);
}

void TForm1::kestBlotter2MouseUp(TComponent*, TMouseButton Button, TShiftState, int, int) {
    if (Button == mbLeft)
        Dragging = false;
    else
        Close();
}

void TForm1::Image3MouseDown(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X,
                             int Y) {
    kestBlotter2MouseDown(Sender, Button, Shift, X + 10, Y + 10);
}

void TForm1::Image3MouseMove(TComponent* Sender, TShiftState Shift, int X, int Y) {
    kestBlotter2MouseMove(Sender, Shift, X + 10, Y + 10);
}

void TForm1::Image3MouseUp(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X,
                           int Y) {
    kestBlotter2MouseUp(Sender, Button, Shift, X + 10, Y + 10);
}

void TForm1::Image4MouseUp(TComponent*, TMouseButton Button, TShiftState, int, int) {
    if (Button == mbLeft) {
        if (Form2) Form2->ShowModal();
        return;
    }
    HiddenToTray = true;
    Hide();
}

void TForm1::TaskTray1MouseUp(TComponent*, TMouseButton Button, TShiftState, int, int) {
    if (HiddenToTray || Button != mbRight) return;
    HiddenToTray = true;
    Hide();
}

void TForm1::TaskTray1DblClick(widgets::TTaskTray*, TMouseButton Button) {
    if (HiddenToTray && Button == mbLeft) {
        Show();
        HiddenToTray = false;
    }
    SetWindowState(wsNormal);
}

void TForm1::FormShow(TComponent*) {
    if (Native()) Native()->HideTaskbarEntry();
}

void TForm1::FormClose(TComponent*, TCloseAction&) { Button3Click(this); }

}  // namespace launcher
