// TForm2: the about box: the program's icon, name, version and credits on a
// blotter panel, and an OK button that closes it. It is shown modally from
// the launcher's about panel; it has no state of its own, and keeps the
// place it was centred at on its first showing. Escape and Return close it
// as OK does.
#pragma once

#include "gui/Form.h"
#include "gui/Image.h"
#include "gui/Label.h"

namespace widgets {
class TkestBlotter;
class TVeltoButton;
class TShadowLabel;
}  // namespace widgets

namespace launcher {

class TForm2 : public gui::TForm {
public:
    explicit TForm2(gui::TApplication& app);

    // Controls, named as the stored layout names them; all lie on
    // kestBlotter1, which fills the window.
    widgets::TkestBlotter* kestBlotter1 = nullptr;
    gui::TImage* Image1 = nullptr;
    gui::TLabel* Label2 = nullptr;
    widgets::TVeltoButton* VeltoButton1 = nullptr;
    widgets::TShadowLabel* ShadowLabel1 = nullptr;
    widgets::TShadowLabel* ShadowLabel2 = nullptr;

    void VeltoButton1Click(gui::TComponent* Sender);
    // Escape and Return (keypad Enter too) close the box like OK.
    void FormKeyDown(gui::TComponent* Sender, gui::TKey Key, gui::TShiftState Shift);

private:
    void ApplyStoredLayout();
    void MakeVersionLabel();
    void MakeButton();
    void MakeShadowLabels();
};

}  // namespace launcher
