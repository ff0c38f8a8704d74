#include "gui/Form.h"

#include <algorithm>

#include "gui/Application.h"
#include "gui/ScreenPlacement.h"
#include "i18n/Messages.h"

namespace gui {

TForm::TForm(TApplication& app, platform::WindowKind kind)
    : TWinControl(nullptr), app_(app), kind_(kind) {
    SetVisible(false);
    app_.FormCreated(this);
}

TForm::~TForm() {
    capture_ = nullptr;
    hover_ = nullptr;
    app_.FormDestroyed(this);
}

void TForm::SetBounds(int left, int top, int width, int height) {
    const bool resized = width != Width() || height != Height();
    TWinControl::SetBounds(left, top, width, height);
    if (resized) {
        backBuffer_.Resize(Width(), Height());
        InvalidateArea(ClientRect());
    }
    if (native_) native_->SetBounds(BoundsRect());
}

void TForm::SetWindowState(TWindowState state) { windowState_ = state; }

void TForm::SetIcon(const TIcon& icon) {
    icon_ = icon;
    if (native_ && !icon_.Empty()) native_->SetIcon(icon_);
}

void TForm::TextChanged() {
    if (native_) native_->SetCaption(Caption());
}

HWND TForm::Handle() {
    HandleNeeded();
    return handle_;
}

void TForm::HandleNeeded() {
    if (native_) return;
    platform::WindowSpec spec{Caption(), kind_, BoundsRect()};
    native_ = app_.Platform().CreateNativeWindow(spec, *this);
    handle_ = native_->Handle();
    app_.RegisterHandle(handle_, this);
    if (!icon_.Empty()) native_->SetIcon(icon_);
    if (kind_ == platform::WindowKind::Main) native_->HideTaskbarEntry();
}

const TSystemColors& TForm::Colors() const { return app_.Platform().SystemColors(); }

TFontEngine* TForm::Fonts() const { return &app_.Platform().Fonts(); }

// ------------------------------------------------------------ showing

void TForm::SetVisible(bool visible) {
    if (visible == Visible()) return;
    if (visible) {
        PlaceOnFirstShow();
        auto alive = AliveToken();
        DoShow();
        if (!Alive(alive)) return;
        HandleNeeded();
        TWinControl::SetVisible(true);
        native_->SetBounds(BoundsRect());
        native_->SetVisible(true);
        InvalidateArea(ClientRect());
    } else {
        if (capture_) capture_ = nullptr;
        UpdateHover(nullptr);
        TWinControl::SetVisible(false);
        if (native_) native_->SetVisible(false);
        if (OnHide) OnHide(this);
    }
}

void TForm::PlaceOnFirstShow() {
    if (shownOnce_) return;
    shownOnce_ = true;
    if (Position != poScreenCenter) return;
    // Centred by its size on the screen (the native window tells how many
    // screen pixels a pixel of the form takes), on the primary monitor
    // wherever it lies on the desktop.
    HandleNeeded();
    const int scale = PixelScale();
    const TPoint corner = CentredOn(app_.Platform().ScreenRect(), Width() * scale, Height() * scale);
    SetBounds(corner.X, corner.Y, Width(), Height());
}

void TForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TForm::DoCreate() {
    if (!OnCreate) return;
    try {
        OnCreate(this);
    } catch (const std::exception& e) {
        app_.ShowException(e.what());
    }
}

void TForm::Show() {
    SetVisible(true);
    if (native_ && Visible()) native_->BringToFront();
}

void TForm::Close() {
    if (modal_) {
        ModalResult = mrCancel;
        return;
    }
    TCloseAction action = app_.MainForm() == this ? caFree : caHide;
    if (OnClose) OnClose(this, action);
    if (action == caNone) return;
    if (app_.MainForm() == this)
        app_.Terminate();
    else
        Hide();
}

int TForm::ShowModal() {
    if (Visible() || modal_) throw EInvalidOperation(i18n::Tr("A visible window cannot be made modal"));
    ModalResult = mrNone;
    modal_ = true;
    TApplication::ModalScope scope(app_, this);
    try {
        Show();
        while (ModalResult == mrNone && !app_.Terminated()) app_.HandleMessage();
    } catch (...) {
        modal_ = false;
        Hide();
        throw;
    }
    modal_ = false;
    Hide();
    return ModalResult;
}

// ------------------------------------------------------------ painting

void TForm::Paint(TCanvas&) {}

void TForm::InvalidateArea(const TRect& formRect) {
    invalid_ = Union(invalid_, Intersect(formRect, ClientRect()));
}

void TForm::PaintInvalid() {
    const TRect area = invalid_;
    invalid_ = {};
    if (area.IsEmpty() || !Visible()) return;
    PaintAreaNow(area);
}

void TForm::PaintAreaNow(const TRect& formRect) {
    const TRect area = Intersect(formRect, ClientRect());
    if (area.IsEmpty()) return;
    TCanvas canvas(backBuffer_, Colors(), Fonts());
    canvas.IntersectClip(area);
    canvas.Font = Font();
    PaintTo(canvas);
    MarkPresent(area);
}

void TForm::MarkPresent(const TRect& formRect) {
    presentDirty_ = Union(presentDirty_, Intersect(formRect, ClientRect()));
}

void TForm::FlushPresent() {
    if (presentDirty_.IsEmpty() || !native_ || !Visible()) return;
    const TRect area = presentDirty_;
    presentDirty_ = {};
    native_->Present(backBuffer_, area);
}

// ------------------------------------------------------------ native events

void TForm::NativeMouse(const platform::MouseInput& input) {
    app_.PostInput(TMouseNotice{handle_, input});
}

void TForm::NativeKey(const platform::KeyInput& input) {
    app_.PostInput(TKeyNotice{handle_, input});
}

void TForm::NativeExpose(const TRect& area) {
    if (native_ && Visible()) native_->Present(backBuffer_, Intersect(area, ClientRect()));
}

void TForm::NativeCloseRequest() { app_.PostInput(TCloseNotice{handle_}); }

void TForm::NativeDrag(const platform::DragInput& input) {
    app_.PostInput(TDragNotice{handle_, input});
}

// ------------------------------------------------------------ dropped files

void TForm::HandleDrag(const platform::DragInput& input) {
    using platform::DragAction;
    if (input.Action == DragAction::Leave) {
        EndFileDrag();
        return;
    }
    const TPoint point{input.Screen.X - Left(), input.Screen.Y - Top()};
    TControl* target = DragTargetAt(point);
    // The control left behind hears its leave, at the last point it heard,
    // before anything else.
    if (target != dragTarget_) LeaveDragTarget();
    dragPoint_ = point;
    bool accept = false;
    // Answered also when a handler throws: files it took stay taken.
    struct AnswerOnExit {
        const platform::DragInput& input;
        const bool& accept;
        ~AnswerOnExit() {
            if (input.Reply) input.Reply->Answer(accept);
        }
    } answer{input, accept};
    const TPoint o = target ? target->FormOrigin() : TPoint{};
    const int x = point.X - o.X;
    const int y = point.Y - o.Y;
    if (input.Action == DragAction::Over) {
        dragInside_ = true;
        const TDragState state = target == dragTarget_ ? dsDragMove : dsDragEnter;
        dragTarget_ = target;
        if (target && target->OnFileDragOver) target->OnFileDragOver(target, x, y, state, accept);
    } else if (!input.OnlyFiles || input.Files.empty() || !target || !target->OnFileDrop) {
        EndFileDrag();
    } else {
        dragInside_ = false;
        dragTarget_ = nullptr;
        target->OnFileDrop(target, input.Files, x, y, accept);
    }
}

// The deepest enabled control under a client point that handles drags, or
// its nearest parent that does; none when no control there does.
TControl* TForm::DragTargetAt(TPoint p) {
    TPoint local;
    TControl* c = DeepestControlAt(p, false, local);
    while (c && !c->OnFileDragOver && !c->OnFileDrop) c = c->Parent();
    return c;
}

void TForm::LeaveDragTarget() {
    TControl* target = dragTarget_;
    dragTarget_ = nullptr;
    if (!target || !target->OnFileDragOver) return;
    const TPoint o = target->FormOrigin();
    bool ignored = false;
    target->OnFileDragOver(target, dragPoint_.X - o.X, dragPoint_.Y - o.Y, dsDragLeave, ignored);
}

void TForm::EndFileDrag() {
    if (!dragInside_) return;
    dragInside_ = false;
    LeaveDragTarget();
}

void TForm::NativeMoved(const TPoint& topLeft) {
    // The native window is there already: only the form's record follows.
    TWinControl::SetBounds(topLeft.X, topLeft.Y, Width(), Height());
}

// ------------------------------------------------------------ mouse routing

TControl* TForm::DeepestControlAt(TPoint p, bool allowDisabled, TPoint& local) {
    if (!ClientRect().Contains(p)) return nullptr;
    TWinControl* container = this;
    local = p;
    for (;;) {
        TControl* child = container->ControlAtPos(local, allowDisabled);
        if (!child) return container;
        local = {local.X - child->Left(), local.Y - child->Top()};
        auto* inner = dynamic_cast<TWinControl*>(child);
        if (!inner) return child;
        container = inner;
    }
}

void TForm::UpdateHover(TControl* under) {
    if (under == hover_) return;
    TControl* old = hover_;
    const bool oldEntered = hoverEntered_;
    hover_ = under;
    hoverEntered_ = false;
    // Only a control that heard its enter hears a leave: a leave handler
    // that hides the form comes back here before `under` was entered.
    if (old && oldEntered) old->CMMouseLeave();
    // The leave handler may have moved the hover on already (or hidden the
    // form, or destroyed `under`).
    if (hover_ != under || !under) return;
    hoverEntered_ = true;
    under->CMMouseEnter();
}

void TForm::HandleMouse(const platform::MouseInput& input) {
    using platform::MouseAction;
    if (input.Action == MouseAction::Leave) {
        UpdateHover(nullptr);
        return;
    }
    // The window was at Screen - Client when the event happened, wherever
    // the program asked it to be: a drag handler that adds a move to Left()
    // then keeps the pressed point under the pointer even while its earlier
    // moves are still on their way.
    const TPoint client = input.Client;
    const TPoint origin{input.Screen.X - client.X, input.Screen.Y - client.Y};
    if (origin.X != Left() || origin.Y != Top()) TWinControl::SetBounds(origin.X, origin.Y, Width(), Height());
    inputScreen_ = input.Screen;
    const bool moveEnds = systemMove_ && input.Action == MouseAction::Up && input.Button == mbLeft;
    if (systemMove_ && (moveEnds || input.Action == MouseAction::Down || input.Action == MouseAction::DoubleClick)) {
        // The button came back to us: the manager's move is over, or never
        // began (then it is withdrawn).
        systemMove_ = false;
        if (moveEnds && native_) native_->CancelSystemMove();
    }
    TPoint local;
    TControl* hovered = DeepestControlAt(client, true, local);
    UpdateHover(hovered);
    // That release belongs to the press on the handle. It may come back
    // only where the pointer next enters the window (Xwayland hands it out
    // there), over a control that never saw the press: it acts on nothing.
    if (moveEnds) return;
    TControl* target = capture_;
    if (!target) target = DeepestControlAt(client, false, local);
    if (!target) return;  // outside the window, nobody holds the capture
    const TPoint o = target->FormOrigin();
    const int x = client.X - o.X;
    const int y = client.Y - o.Y;
    switch (input.Action) {
        case MouseAction::Move: target->WMMouseMove(input.Shift, x, y); break;
        case MouseAction::Down: target->WMButtonDown(input.Button, input.Shift, x, y); break;
        case MouseAction::DoubleClick:
            if (target->ControlStyle & csDoubleClicks)
                target->WMButtonDblClk(input.Button, input.Shift, x, y);
            else
                target->WMButtonDown(input.Button, input.Shift, x, y);
            break;
        case MouseAction::Up: target->WMButtonUp(input.Button, input.Shift, x, y); break;
        case MouseAction::Leave: break;
    }
}

bool TForm::BeginSystemMove() {
    if (!native_ || !native_->BeginSystemMove(inputScreen_)) return false;
    // The manager holds the pointer now: nothing of this drag comes back.
    systemMove_ = true;
    capture_ = nullptr;
    return true;
}

void TForm::HandleKey(const platform::KeyInput& input) {
    if (OnKeyDown) OnKeyDown(this, input.Pressed, input.Shift);
}

void TForm::ControlDestroyed(TControl* c) {
    if (capture_ == c) capture_ = nullptr;
    if (hover_ == c) hover_ = nullptr;
    if (dragTarget_ == c) dragTarget_ = nullptr;
}

}  // namespace gui
