// TForm2: the about box, shown modally from the launcher's about panel.
#pragma once

#include "gui/Form.h"

namespace launcher {

class TForm2 : public gui::TForm {
public:
    explicit TForm2(gui::TApplication& app);

private:
    void ApplyStoredLayout();
};

}  // namespace launcher
