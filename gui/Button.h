// TButton: a push button. The program's buttons stay hidden and their click
// handlers serve as procedures, so Click() is public.
#pragma once

#include "gui/WinControl.h"

namespace gui {

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 75, 25); }
    void Click() override { TWinControl::Click(); }
};

}  // namespace gui
