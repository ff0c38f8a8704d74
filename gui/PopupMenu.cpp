#include "gui/PopupMenu.h"

#include "gui/Application.h"
#include "gui/Form.h"
#include "gui/Label.h"

namespace gui {

namespace {
constexpr int kItemHeight = 20;
constexpr int kMenuWidth = 160;

// The menu window: one label per item; a click on an item closes the menu
// and runs the item, a click anywhere else just closes it.
class TMenuForm : public TForm {
public:
    TMenuForm(TApplication& app, const std::vector<TMenuItem>& items, TPoint at)
        : TForm(app, platform::WindowKind::Tooltip) {
        SetColor(clBtnFace);
        SetBounds(at.X, at.Y, kMenuWidth, kItemHeight * int(items.size()) + 4);
        for (std::size_t i = 0; i < items.size(); ++i) AddItem(int(i), items[i].Caption);
        OnMouseUp = [this](TComponent*, TMouseButton, TShiftState, int, int) { Finish(-1); };
    }
    int Chosen() const { return chosen_; }

private:
    void AddItem(int index, const std::string& caption) {
        TLabel& label = Own<TLabel>();
        label.SetParent(this);
        label.SetAutoSize(false);
        label.SetBounds(2, 2 + index * kItemHeight, kMenuWidth - 4, kItemHeight);
        label.SetLayout(tlCenter);
        label.SetCaption(caption);
        label.OnMouseUp = [this, index](TComponent*, TMouseButton, TShiftState, int, int) {
            Finish(index);
        };
    }
    void Finish(int index) {
        chosen_ = index;
        ModalResult = mrOk;
    }
    int chosen_ = -1;
};
}  // namespace

void TPopupMenu::Popup(int x, int y) {
    popupPoint_ = {x, y};
    if (OnPopup) OnPopup(this);
    TApplication* app = Application();
    if (!app || Items.empty()) return;
    TMenuForm menu(*app, Items, popupPoint_);
    menu.ShowModal();
    const int chosen = menu.Chosen();
    if (chosen >= 0 && std::size_t(chosen) < Items.size() && Items[std::size_t(chosen)].OnClick)
        Items[std::size_t(chosen)].OnClick(this);
}

}  // namespace gui
