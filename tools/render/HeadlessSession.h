// A headless application to render forms in: the backend, the application
// over it, and the means to settle the loop and read what a window shows.
#pragma once

#include "gui/Application.h"
#include "gui/Form.h"
#include "gfx/Surface.h"
#include "platform/headless/HeadlessPlatform.h"

namespace render {

class HeadlessSession {
public:
    HeadlessSession() : app_(platform_) {}
    HeadlessSession(const HeadlessSession&) = delete;
    HeadlessSession& operator=(const HeadlessSession&) = delete;

    platform::HeadlessPlatform& Platform() { return platform_; }
    gui::TApplication& App() { return app_; }

    // A borderless form of the given client size and colour at the screen's
    // top-left corner, so that form and screen coordinates agree. It is
    // shown; its controls are painted by the next Settle.
    gui::TForm& CreateHostForm(int width, int height, gfx::TColor color);
    // A control of type T owned by `form` and filling it.
    template <class T>
    static T& Fill(gui::TForm& form) {
        T& control = form.Own<T>();
        control.SetParent(&form);
        control.SetBounds(0, 0, form.ClientWidth(), form.ClientHeight());
        return control;
    }

    // Runs everything pending: input, paints, due timers; then presents.
    void Settle() { app_.ProcessMessages(); }
    // A left press at a screen point, left held down.
    void PressLeft(gfx::TPoint screen);

    // The pixels the form's window presents.
    gfx::TSurface Snapshot(gui::TForm& form) const;

private:
    platform::HeadlessPlatform platform_;
    gui::TApplication app_;
};

}  // namespace render
