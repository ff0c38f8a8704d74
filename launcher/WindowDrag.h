// TWindowDrag: moves a window by its handles. A left press on a handle
// starts the drag, moves keep the pressed point under the pointer, the left
// release ends it; a window manager that places windows only itself takes
// the drag over instead. Releasing another button on a handle closes the
// window.
#pragma once

#include "gui/Form.h"

namespace launcher {

class TWindowDrag {
public:
    explicit TWindowDrag(gui::TForm& form) : form_(form) {}

    // Gives `handle` (a control of the form) the mouse handlers of a handle.
    void Attach(gui::TControl& handle);
    bool Dragging() const { return dragging_; }

private:
    // Points in the form's client coordinates.
    void Press(gui::TMouseButton button, gui::TPoint p);
    void Move(gui::TPoint p);
    void Release(gui::TMouseButton button);

    gui::TForm& form_;
    bool dragging_ = false;
    gui::TPoint pressed_;
};

}  // namespace launcher
