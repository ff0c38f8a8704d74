// The launcher window's side of files dragged from another program: a cell
// under the drag is drawn pressed and takes the drop, a drag resting on an
// arrow pages the grid, and a drop fills the slot under the pointer and the
// empty slots after it, then reloads, saves and repaints as an assign does.
#include <algorithm>

#include "gui/Application.h"
#include "launcher/Unit1.h"
#include "widgets/arrowbtn.h"

namespace launcher {

using namespace gui;

namespace {
constexpr int kDragPageMs = 500;

bool Over(const TControl& control, int x, int y) {
    const TPoint o = control.FormOrigin();
    return control.Visible() &&
           TRect{o.X, o.Y, o.X + control.Width(), o.Y + control.Height()}.Contains({x, y});
}
}  // namespace

void TForm1::SetUpFileDrops() {
    Timer4 = &Own<TTimer>();
    Timer4->SetName("Timer4");
    Timer4->SetInterval(0);
    Timer4->SetOnTimer([this](TComponent* s) { Timer4Timer(s); });
    OnFileDragOver = [this](TComponent* s, int x, int y, TDragState state, bool& accept) {
        FormFileDragOver(s, x, y, state, accept);
    };
    OnFileDrop = [this](TComponent* s, const std::vector<std::string>& files, int x, int y,
                        bool& accept) { FormFileDrop(s, files, x, y, accept); };
}

TDropSpot TForm1::DropSpotAt(int x, int y) const {
    const TPoint grid = PaintBox1->FormOrigin();
    if (Over(*PaintBox1, x, y))
        if (auto cell = GridCellAt(x - grid.X, y - grid.Y)) return *cell;
    if (Over(*ArrowButton1, x, y)) return {TDropSpot::PageUp};
    if (Over(*ArrowButton2, x, y)) return {TDropSpot::PageDown};
    return {};
}

void TForm1::FormFileDragOver(TComponent*, int X, int Y, TDragState State, bool& Accept) {
    if (State == dsDragLeave) {
        EndFileDrag();
        return;
    }
    if (State == dsDragEnter) {
        fileDragging_ = true;
        CloseHint();
    }
    // While a release is handled the launcher takes nothing.
    SetDragSpot(busy_ ? TDropSpot{} : DropSpotAt(X, Y));
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

void TForm1::EndFileDrag() {
    SetDragSpot({});
    fileDragging_ = false;
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

void TForm1::FormFileDrop(TComponent*, const std::vector<std::string>& Files, int X, int Y,
                          bool& Accept) {
    const TDropSpot spot = busy_ ? TDropSpot{} : DropSpotAt(X, Y);
    EndFileDrag();
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
