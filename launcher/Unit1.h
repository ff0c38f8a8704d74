// TForm1: the launcher window. A 4 x 2 grid of cells over a table of 28 file
// slots, two arrow buttons that page through the seven slot rows, a drag
// handle and an about/hide panel; the settings file keeps the position, the
// row offset and the slot paths.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "gui/Button.h"
#include "gui/Form.h"
#include "gui/Image.h"
#include "gui/OpenDialog.h"
#include "gui/PaintBox.h"
#include "gui/Panel.h"
#include "gui/Timer.h"
#include "launcher/SlotDrop.h"
#include "launcher/SlotTable.h"
#include "launcher/WindowDrag.h"
#include "settings/IniFile.h"

namespace widgets {
class TkestBlotter;
class TArrowButton;
class TTaskTray;
}  // namespace widgets

namespace launcher {

class TForm2;
class TForm3;

constexpr int kCellSize = 36;

class TForm1 : public gui::TForm {
public:
    explicit TForm1(gui::TApplication& app);
    ~TForm1() override;

    // Controls, named as the stored layout names them.
    gui::TPanel* Panel1 = nullptr;
    gui::TPanel* Panel2 = nullptr;
    gui::TPanel* Panel3 = nullptr;
    widgets::TkestBlotter* kestBlotter1 = nullptr;
    widgets::TkestBlotter* kestBlotter2 = nullptr;
    widgets::TkestBlotter* kestBlotter3 = nullptr;
    gui::TPaintBox* PaintBox1 = nullptr;
    widgets::TArrowButton* ArrowButton1 = nullptr;
    widgets::TArrowButton* ArrowButton2 = nullptr;
    gui::TImage* Image1 = nullptr;  // the cell strip, hidden
    gui::TImage* Image2 = nullptr;  // the empty-slot icon, hidden
    gui::TImage* Image3 = nullptr;  // drag-handle icon
    gui::TImage* Image4 = nullptr;  // about/hide icon
    gui::TTimer* Timer1 = nullptr;
    gui::TTimer* Timer2 = nullptr;
    gui::TTimer* Timer3 = nullptr;
    gui::TOpenDialog* OpenDialog1 = nullptr;
    gui::TButton* Button1 = nullptr;
    gui::TButton* Button2 = nullptr;
    gui::TButton* Button3 = nullptr;
    gui::TButton* Button4 = nullptr;
    widgets::TTaskTray* TaskTray1 = nullptr;

    // Slot table and settings (read by tests; the handlers change them).
    TSlotTable& Slots() { return *slots_; }
    const std::string& SlotPath(int k) const { return slots_->Path(k); }  // 1..28
    const TSlotIcon& SlotIcon(int k) const { return slots_->Icon(k); }    // 1..28
    int RowOffset() const { return rowOffset_; }
    int EditedSlot() const { return editedSlot_; }
    // Pointer state of the grid.
    int CellCol() const { return cellCol_; }
    int CellRow() const { return cellRow_; }
    int CurrentSlot() const { return currentSlot_; }
    bool Busy() const { return busy_; }
    // Window handling.
    bool Dragging() const { return windowDrag_.Dragging(); }
    bool HiddenToTray() const { return hiddenToTray_; }

    // Saving: the FORM keys with all 28 slots, or with slot k only (none
    // when k is outside 1..28), each with one replace of the file.
    void SaveAllSettings() { slots_->SaveAll(FormKeys()); }
    void SaveSlot(int k) { SaveSlots({k}); }

    // Handlers.
    void FormCreate(gui::TComponent* Sender);
    void FormShow(gui::TComponent* Sender);
    void FormClose(gui::TComponent* Sender, gui::TCloseAction& Action);
    void Button1Click(gui::TComponent* Sender);  // repaint the grid
    void Button2Click(gui::TComponent*) { slots_->ReloadIcons(); }
    void Button3Click(gui::TComponent*) { SaveAllSettings(); }
    void Button4Click(gui::TComponent*) { SaveSlot(editedSlot_); }  // FORM keys and EditedSlot
    void Timer1Timer(gui::TComponent* Sender);
    void Timer2Timer(gui::TComponent* Sender);
    void AppMessage(gui::TMsg& Msg, bool& Handled);
    void ArrowButton1Click(gui::TComponent* Sender);
    void ArrowButton2Click(gui::TComponent* Sender);
    void PaintBox1MouseDown(gui::TComponent* Sender, gui::TMouseButton Button,
                            gui::TShiftState Shift, int X, int Y);
    void PaintBox1MouseUp(gui::TComponent* Sender, gui::TMouseButton Button, gui::TShiftState Shift,
                          int X, int Y);
    void PaintBox1MouseMove(gui::TComponent* Sender, gui::TShiftState Shift, int X, int Y);
    void Timer3Timer(gui::TComponent* Sender);
    void kestBlotter1MouseMove(gui::TComponent* Sender, gui::TShiftState Shift, int X, int Y);
    void Image4MouseUp(gui::TComponent* Sender, gui::TMouseButton Button, gui::TShiftState Shift,
                       int X, int Y);
    void TaskTray1MouseUp(gui::TComponent* Sender, gui::TMouseButton Button, gui::TShiftState Shift,
                          int X, int Y);
    void TaskTray1DblClick(widgets::TTaskTray* Seft, gui::TMouseButton Button);
    void TaskTray1AreaLost(gui::TComponent* Sender);

    // Files dragged from another program onto the slots (Unit1Drop.cpp).
    gui::TTimer* Timer4 = nullptr;  // pages the grid while a drag rests on an arrow
    void Timer4Timer(gui::TComponent* Sender);

    // The monitor layout changed: a launcher left on no monitor is moved
    // onto the primary one and its new place (LEFT, TOP) saved at once.
    void MonitorsChanged();
    // A later start of the program asks this copy to come forward: the
    // launcher is shown again if hidden to the tray (as the tray icon's
    // double click does), raised and activated; an open box stays on top.
    void ComeForward();
    // A later start asks to toggle: while the launcher is shown and its
    // tray icon is in the notification area it is hidden to the tray;
    // otherwise it comes forward.
    void ToggleShown();

    // The about box and the hint window, created after the launcher; the
    // program sets these references once they exist.
    TForm2* Form2 = nullptr;
    TForm3* Form3 = nullptr;

    const gui::TIcon& DefaultIcon() const { return Image2->Icon(); }
    // The slot a grid cell shows.
    int SlotAt(int col, int row) const { return 4 * (rowOffset_ + row - 1) + col + 1; }

private:
    void ApplyStoredLayout();
    void LoadSettings();
    bool KeepReachable();  // true when it moved the window
    void SavePosition();
    // LEFT, TOP and OFFSET of section FORM, written before the slots.
    gui::TIniBatch FormKeys() const;
    void SaveSlots(const std::vector<int>& slots) { slots_->Save(FormKeys(), slots); }

    gui::TTimer* IconTimer = nullptr;  // paces the slot table's icon lookup
    std::unique_ptr<TSlotTable> slots_;
    void HitTest(int x, int y);
    void DrawCell(int col, int row, bool pressed);
    void LaunchCurrentSlot();
    void AssignCurrentSlot();
    void SlotChanged();
    void CloseHint();
    void HideToTray();
    void SetUpFileDrops();
    void FileDragOver(const TDropSpot& spot, gui::TDragState State, bool& Accept);
    void FileDrop(const TDropSpot& spot, const std::vector<std::string>& Files, bool& Accept);
    void SetDragSpot(const TDropSpot& spot);

    TDropSpot dragSpot_;  // what the drag is over; a cell there is drawn pressed

    int rowOffset_ = 1;
    int editedSlot_ = 0;
    int cellCol_ = 0;
    int cellRow_ = 0;
    int currentSlot_ = 1;
    bool busy_ = false;
    TWindowDrag windowDrag_;  // the drag handle (kestBlotter2, Image3)
    bool hiddenToTray_ = false;
};

// The directory part of a path: up to and including its last "\", "/" or
// ":", empty when it has none.
std::string DirectoryPart(const std::string& path);

}  // namespace launcher
