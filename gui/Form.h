// TForm: a top-level window. It owns its native window and a back buffer;
// it routes mouse input to its controls (capture, enter/leave), paints
// invalid areas when the application asks and presents what changed.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gfx/Graphics.h"
#include "gui/WinControl.h"
#include "platform/Platform.h"
#include "gui/DesignNames.h"

namespace gui {

class TApplication;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TPosition { poDesigned, poScreenCenter };
enum TFormBorderStyle { bsNone, bsSingle };

constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;

using TCloseEvent = std::function<void(TComponent* Sender, TCloseAction& Action)>;

// The keys a form hears: those its boxes answer to.
using TKey = platform::Key;
using TKeyEvent = std::function<void(TComponent* Sender, TKey Key, TShiftState Shift)>;

class TForm : public TWinControl, private platform::WindowListener {
public:
    explicit TForm(TApplication& app,
                   platform::WindowKind kind = platform::WindowKind::Dialog);
    ~TForm() override;

    TApplication* Application() const override { return &app_; }
    TApplication& App() const { return app_; }

    // Geometry: Left/Top are screen coordinates; the form has no frame, so
    // the client area is the whole window.
    int ClientWidth() const { return Width(); }
    int ClientHeight() const { return Height(); }
    void SetClientWidth(int w) { SetWidth(w); }
    void SetClientHeight(int h) { SetHeight(h); }
    void SetBounds(int left, int top, int width, int height) override;

    TFormBorderStyle BorderStyle = bsNone;
    TPosition Position = poDesigned;
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);
    TIcon& Icon() { return icon_; }
    void SetIcon(const TIcon& icon);

    // Showing and closing.
    void SetVisible(bool visible) override;
    void Show();
    void Hide() { SetVisible(false); }
    // Runs OnClose; an exception from it abandons the close. Closing the
    // main form terminates the application, closing another form hides it,
    // closing a modal form ends its modal loop.
    void Close();
    int ShowModal();
    int ModalResult = mrNone;
    bool Modal() const { return modal_; }

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    // A key pressed while the form has the keyboard focus (only while it
    // takes input: not behind a modal form).
    TKeyEvent OnKeyDown;

    // Native window and drawing.
    HWND Handle() override;
    void HandleNeeded();
    platform::NativeWindow* Native() const { return native_.get(); }
    // Screen pixels per pixel of the form, in the units of its position
    // (NativeWindow::PixelScale); 1 before the native window exists.
    int PixelScale() const { return native_ ? native_->PixelScale() : 1; }
    TSurface& BackBuffer() { return backBuffer_; }
    const TSystemColors& Colors() const;
    TFontEngine* Fonts() const;
    void InvalidateArea(const TRect& formRect);
    bool NeedsPaint() const { return !invalid_.IsEmpty(); }
    // Paints the invalid area (the paint message has been seen by the hook).
    void PaintInvalid();
    // Paints an area now, outside the paint cycle (synchronous repaint).
    void PaintAreaNow(const TRect& formRect);
    void MarkPresent(const TRect& formRect);
    void FlushPresent();

    // Mouse routing.
    TControl* CaptureControl() const { return capture_; }
    void SetCaptureControl(TControl* c) { capture_ = c; }
    TControl* HoverControl() const { return hover_; }
    void ControlDestroyed(TControl* c);
    // Mouse input taken from the queue: the form's Left/Top become where
    // the window was when it happened, enter/leave notices follow the
    // pointer, and the event goes to the control holding the capture, else
    // to the one under the pointer.
    void HandleMouse(const platform::MouseInput& input);
    // Called by a drag handler while the left button is held: where the
    // window manager moves windows only itself, it takes this drag over
    // until the button is released (the capture ends) and the answer is
    // true; the handler then moves nothing. False where the handler's own
    // moves are carried out.
    bool BeginSystemMove();
    // A key taken from the queue: raises OnKeyDown.
    void HandleKey(const platform::KeyInput& input);

    // Files dragged from another program (only the main window takes
    // them) go to the control under the point, as mouse input does: the
    // deepest enabled one with OnFileDragOver or OnFileDrop, else its
    // nearest parent with one (the form last), in that control's client
    // coordinates. A control hears an enter when the drag comes onto it,
    // then moves, and a leave when the drag moves on to another control,
    // leaves the window or is refused. A drop goes to the control under
    // it; one that carried anything other than local files, or no file, or
    // that lands where no control has OnFileDrop, is refused: a leave
    // instead. True while a drag is over the window.
    bool FileDragInside() const { return dragInside_; }
    // A drag notice taken from the queue; answers its reply.
    void HandleDrag(const platform::DragInput& input);

    // Stored-layout application: `apply` sets the form's properties and
    // creates its controls; then the OnCreate handler runs. An error from
    // `apply` passes on (start-up ends); one from OnCreate is shown and the
    // rest of the handler is skipped.
    template <class F>
    void Construct(F&& apply) {
        LoadLayout(std::forward<F>(apply));
        DoCreate();
    }

protected:
    void Paint(TCanvas& canvas) override;
    virtual void DoShow();
    void DoCreate();
    void TextChanged() override;

private:
    // platform::WindowListener
    void NativeMouse(const platform::MouseInput& input) override;
    void NativeKey(const platform::KeyInput& input) override;
    void NativeExpose(const TRect& area) override;
    void NativeCloseRequest() override;
    void NativeDrag(const platform::DragInput& input) override;
    void NativeMoved(const TPoint& topLeft) override;

    void EndFileDrag();
    TControl* DragTargetAt(TPoint p);
    void LeaveDragTarget();
    TControl* DeepestControlAt(TPoint p, bool allowDisabled, TPoint& local);
    void UpdateHover(TControl* under);
    void PlaceOnFirstShow();

    TApplication& app_;
    platform::WindowKind kind_;
    std::unique_ptr<platform::NativeWindow> native_;
    TSurface backBuffer_;
    TRect invalid_;
    TRect presentDirty_;
    TControl* capture_ = nullptr;
    TControl* hover_ = nullptr;
    bool hoverEntered_ = false;  // hover_ has heard its enter
    bool dragInside_ = false;    // a drag came over the window and has not ended
    TControl* dragTarget_ = nullptr;  // the control that heard the drag's enter
    TPoint dragPoint_;           // client point of the last drag notice
    TIcon icon_;
    TWindowState windowState_ = wsNormal;
    bool shownOnce_ = false;
    bool modal_ = false;
    TPoint inputScreen_;         // the screen point of the input being handled
    bool systemMove_ = false;    // a drag was handed to the window manager
};

}  // namespace gui
