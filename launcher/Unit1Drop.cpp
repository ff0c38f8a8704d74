// The launcher window's side of files dragged from another program: a cell
// under the drag is drawn pressed and takes the drop, a drag resting on an
// arrow pages the grid, and a drop fills the slot under the pointer and the
// empty slots after it, then reloads, saves and repaints as an assign does.
// The form routes the drag to the grid, the arrows or (anywhere else) the
// form itself, in the receiving control's coordinates.
#include "gui/Application.h"
#include "launcher/Unit1.h"
#include "widgets/arrowbtn.h"

namespace launcher {

using namespace gui;

namespace {
constexpr int kDragPageMs = 500;
}  // namespace

void TForm1::SetUpFileDrops() {
    Timer4 = &Own<TTimer>();
    Timer4->SetName("Timer4");
    Timer4->SetInterval(0);
    Timer4->SetOnTimer([this](TComponent* s) { Timer4Timer(s); });
    // What each receiver stands for: the grid's cell under the point, an
    // arrow's paging, nothing for the rest of the window.
    const auto routeTo = [this](TControl& control, std::function<TDropSpot(int, int)> spotAt) {
        control.OnFileDragOver = [this, spotAt](TComponent*, int x, int y, TDragState state,
                                                bool& accept) {
            FileDragOver(spotAt(x, y), state, accept);
        };
        control.OnFileDrop = [this, spotAt](TComponent*, const std::vector<std::string>& files,
                                            int x, int y, bool& accept) {
            FileDrop(spotAt(x, y), files, accept);
        };
    };
    routeTo(*PaintBox1, [](int x, int y) { return GridCellAt(x, y).value_or(TDropSpot{}); });
    routeTo(*ArrowButton1, [](int, int) { return TDropSpot{TDropSpot::PageUp}; });
    routeTo(*ArrowButton2, [](int, int) { return TDropSpot{TDropSpot::PageDown}; });
    routeTo(*this, [](int, int) { return TDropSpot{}; });
}

void TForm1::FileDragOver(const TDropSpot& spot, TDragState State, bool& Accept) {
    if (State == dsDragLeave) {
        SetDragSpot({});
        return;
    }
    if (State == dsDragEnter) CloseHint();
    // While a release is handled the launcher takes nothing.
    SetDragSpot(busy_ ? TDropSpot{} : spot);
    Accept = dragSpot_.Kind == TDropSpot::Cell;
}

void TForm1::SetDragSpot(const TDropSpot& spot) {
    if (spot == dragSpot_) return;
    if (dragSpot_.Kind == TDropSpot::Cell) DrawCell(dragSpot_.Col, dragSpot_.Row, false);
    dragSpot_ = spot;
    if (spot.Kind == TDropSpot::Cell) DrawCell(spot.Col, spot.Row, true);
    // Arriving on an arrow starts the paging delay afresh.
    Timer4->SetInterval(0);
    if (spot.Kind == TDropSpot::PageUp || spot.Kind == TDropSpot::PageDown)
        Timer4->SetInterval(kDragPageMs);
}

void TForm1::Timer4Timer(TComponent*) {
    Timer4->SetInterval(0);
    const int before = rowOffset_;
    if (dragSpot_.Kind == TDropSpot::PageUp)
        ArrowButton1Click(this);
    else if (dragSpot_.Kind == TDropSpot::PageDown)
        ArrowButton2Click(this);
    // Again while the drag stays, until the first or last row is reached.
    if (rowOffset_ != before) Timer4->SetInterval(kDragPageMs);
}

void TForm1::FileDrop(const TDropSpot& at, const std::vector<std::string>& Files, bool& Accept) {
    const TDropSpot spot = busy_ ? TDropSpot{} : at;
    SetDragSpot({});
    // The pointer's arrival at the drag's end armed the hint with the text
    // the slot had before the drop: the next movement shows the new one.
    Timer3->SetInterval(0);
    CloseHint();
    if (spot.Kind != TDropSpot::Cell) return;
    const std::vector<int> filled = slots_->Drop(SlotAt(spot.Col, spot.Row), Files);
    if (filled.empty()) return;
    Accept = true;
    Button2Click(this);
    editedSlot_ = filled.front();
    SaveSlots(filled);
    Button1Click(this);
}

}  // namespace launcher
