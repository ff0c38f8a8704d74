// TPopupMenu: a menu shown at a screen point; it returns when the menu has
// closed. The menu is a GUI-layer window of its items.
#pragma once

#include <string>
#include <vector>

#include "gui/Component.h"
#include "gui/Control.h"

namespace gui {

struct TMenuItem {
    std::string Caption;
    TNotifyEvent OnClick;
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner) : TComponent(owner) {}

    std::vector<TMenuItem> Items;
    TNotifyEvent OnPopup;

    // Shows the menu with its top-left corner at the screen point and runs
    // until an item is chosen or the menu is dismissed.
    void Popup(int x, int y);
    // Where the menu was last shown.
    TPoint PopupPoint() const { return popupPoint_; }

private:
    TPoint popupPoint_;
};

}  // namespace gui
