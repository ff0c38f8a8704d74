// TForm3: the hover hint window: one label with the path of the slot under
// the pointer, sized to its text.
#pragma once

#include "gui/Form.h"
#include "gui/Label.h"

namespace launcher {

class TForm3 : public gui::TForm {
public:
    explicit TForm3(gui::TApplication& app);

    gui::TLabel* Label1 = nullptr;

    void Label1Click(gui::TComponent* Sender);
    void Label1MouseMove(gui::TComponent* Sender, gui::TShiftState Shift, int X, int Y);

private:
    void ApplyStoredLayout();
};

}  // namespace launcher
