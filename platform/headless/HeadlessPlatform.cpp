#include "platform/headless/HeadlessPlatform.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "settings/SettingsFileName.h"
#include "platform/SystemFonts.h"

namespace platform {

namespace {
// The system's font engine, made on the first face asked for, noting each
// distinct face asked for.
class RecordingFontEngine final : public gfx::TFontEngine {
public:
    explicit RecordingFontEngine(std::vector<gfx::TFontSpec>& opened) : opened_(opened) {}
    std::shared_ptr<gfx::TFontFace> Open(const gfx::TFontSpec& spec) override {
        if (std::find(opened_.begin(), opened_.end(), spec) == opened_.end()) opened_.push_back(spec);
        if (!engine_) engine_ = CreateSystemFontEngine();
        return engine_->Open(spec);
    }

private:
    std::vector<gfx::TFontSpec>& opened_;
    std::unique_ptr<gfx::TFontEngine> engine_;
};

class ScriptedDialog final : public FileDialogSession {
public:
    bool Finished() override { return finished; }
    std::optional<std::string> Result() override { return answer; }
    bool finished = false;
    std::optional<std::string> answer;
};
}  // namespace

HeadlessPlatform::HeadlessPlatform() = default;

HeadlessPlatform::~HeadlessPlatform() {
    for (HeadlessWindow* w : windows_) w->SetVisible(false);
    for (auto it = copies_->BySettingsFile.begin(); it != copies_->BySettingsFile.end();)
        it = it->second == this ? copies_->BySettingsFile.erase(it) : std::next(it);
}

gfx::TFontEngine& HeadlessPlatform::Fonts() {
    if (!fonts_) fonts_ = std::make_unique<RecordingFontEngine>(FontsOpened);
    return *fonts_;
}

const gfx::TSystemColors& HeadlessPlatform::SystemColors() {
    return gfx::ClassicSystemColors::Instance();
}

// ------------------------------------------------------------ waiting

void HeadlessPlatform::DeliverEvents(std::int64_t deadlineMs) {
    if (!pending_.empty()) {
        DeliverPending();
        return;
    }
    if (RunNextStep(deadlineMs)) {
        DeliverPending();
        return;
    }
    if (deadlineMs < 0)
        throw std::logic_error("headless: the loop waits forever and no input is scripted");
    now_ = std::max(now_, deadlineMs);
    ++timerWakeups_;
}

void HeadlessPlatform::DeliverPending() {
    while (!pending_.empty()) {
        auto event = std::move(pending_.front());
        pending_.pop_front();
        event();
    }
}

bool HeadlessPlatform::RunNextStep(std::int64_t deadlineMs) {
    if (steps_.empty()) return false;
    auto next = std::min_element(steps_.begin(), steps_.end(), [](const Step& a, const Step& b) {
        return a.Time != b.Time ? a.Time < b.Time : a.Order < b.Order;
    });
    if (deadlineMs >= 0 && next->Time > deadlineMs) return false;
    Step step = std::move(*next);
    steps_.erase(next);
    now_ = std::max(now_, step.Time);
    ++stepWakeups_;
    step.Run();
    return true;
}

void HeadlessPlatform::At(std::int64_t timeMs, std::function<void()> step) {
    steps_.push_back({timeMs, stepOrder_++, std::move(step)});
}

// ------------------------------------------------------------ windows

std::unique_ptr<NativeWindow> HeadlessPlatform::CreateNativeWindow(const WindowSpec& spec,
                                                                   WindowListener& listener) {
    auto w = std::make_unique<HeadlessWindow>(*this, spec, listener, nextHandle_++);
    windows_.push_back(w.get());
    return w;
}

void HeadlessPlatform::WindowDestroyed(HeadlessWindow* w) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), w), windows_.end());
    if (grab_ == w) grab_ = nullptr;
    if (hover_ == w) hover_ = nullptr;
    if (dragOver_ == w) dragOver_ = nullptr;
    if (systemMove_ == w) systemMove_ = nullptr;
}

void HeadlessPlatform::Raise(HeadlessWindow* w) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), w), windows_.end());
    windows_.push_back(w);
}

HeadlessWindow* HeadlessPlatform::WindowByCaption(const std::string& caption) const {
    for (HeadlessWindow* w : windows_)
        if (w->Caption() == caption) return w;
    return nullptr;
}

HeadlessWindow* HeadlessPlatform::WindowByHandle(std::uintptr_t handle) const {
    for (HeadlessWindow* w : windows_)
        if (w->Handle() == handle) return w;
    return nullptr;
}

HeadlessWindow* HeadlessPlatform::WindowAt(TPoint screen) const {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if ((*it)->Visible() && (*it)->Bounds().Contains(screen)) return *it;
    return nullptr;
}

gfx::TSurface HeadlessPlatform::Screenshot(gfx::TPixel background) const {
    const TRect primary = monitors_.front();
    gfx::TSurface screen(primary.Width(), primary.Height(), background);
    for (const HeadlessWindow* w : windows_) {
        if (!w->Visible()) continue;
        const gfx::TSurface& pixels = w->Snapshot();
        const TRect b = w->Bounds();
        for (int y = 0; y < pixels.Height(); ++y)
            for (int x = 0; x < pixels.Width(); ++x) screen.Put(b.Left + x, b.Top + y, pixels.At(x, y));
    }
    return screen;
}

// ------------------------------------------------------------ input

HeadlessWindow* HeadlessPlatform::InputWindow() const {
    return grab_ ? grab_ : WindowAt(pointer_);
}

void HeadlessPlatform::SendMouse(MouseAction action, gfx::TMouseButton button) {
    HeadlessWindow* target = InputWindow();
    if (action == MouseAction::Move && hover_ && hover_ != target) {
        HeadlessWindow* left = hover_;
        left->Listener().NativeMouse({MouseAction::Leave, gfx::mbLeft, buttons_, {}, {}});
    }
    if (!grab_) hover_ = target;
    if (!target) return;
    const TRect b = target->Bounds();
    target->Listener().NativeMouse(
        {action, button, buttons_, pointer_, {pointer_.X - b.Left, pointer_.Y - b.Top}});
}

void HeadlessPlatform::ManagerMoves(HeadlessWindow* w, TPoint topLeft) {
    if (ManagerPlace && w->kind_ == WindowKind::Main) ManagerPlace = topLeft;
    w->bounds_ = gfx::Bounds(topLeft.X, topLeft.Y, w->bounds_.Width(), w->bounds_.Height());
    Queue([this, w, topLeft] {
        if (std::find(windows_.begin(), windows_.end(), w) != windows_.end())
            w->Listener().NativeMoved(topLeft);
    });
}

void HeadlessPlatform::MoveTo(int x, int y) {
    Queue([this, x, y] {
        pointer_ = {x, y};
        if (systemMove_) {  // the manager holds the pointer: nothing reaches the program
            ManagerMoves(systemMove_, {x - systemMoveOffset_.X, y - systemMoveOffset_.Y});
            return;
        }
        SendMouse(MouseAction::Move, gfx::mbLeft);
        if (releaseOwed_ && InputWindow()) {
            releaseOwed_ = false;
            SendMouse(MouseAction::Up, gfx::mbLeft);
        }
    });
}

void HeadlessPlatform::Press(gfx::TMouseButton button) {
    Queue([this, button] {
        HeadlessWindow* target = InputWindow();
        const bool dbl = doubleClicks_.Press(button, pointer_, target ? target->Handle() : 0, now_);
        buttons_ |= gfx::ShiftFlagOf(button);
        if (!grab_) grab_ = target;  // the pointer is grabbed while a button is held
        SendMouse(dbl ? MouseAction::DoubleClick : MouseAction::Down, button);
    });
}

void HeadlessPlatform::Release(gfx::TMouseButton button) {
    Queue([this, button] {
        buttons_ &= ~gfx::ShiftFlagOf(button);
        if (systemMove_ && button == gfx::mbLeft) {
            systemMove_ = nullptr;
            grab_ = nullptr;
            releaseOwed_ = true;
            return;
        }
        SendMouse(MouseAction::Up, button);
        if ((buttons_ & (gfx::ssLeft | gfx::ssRight | gfx::ssMiddle)) == 0) grab_ = nullptr;
    });
}

void HeadlessPlatform::Click(gfx::TMouseButton button, int x, int y) {
    MoveTo(x, y);
    Press(button);
    Release(button);
}

void HeadlessPlatform::DoubleClick(gfx::TMouseButton button, int x, int y) {
    Click(button, x, y);
    Press(button);
    Release(button);
}

// Only the main window takes drops, as on the native backends.
DragInput HeadlessPlatform::DragNotice(DragAction action) {
    DragInput input;
    input.Action = action;
    input.Screen = dragPoint_;
    if (action != DragAction::Leave)
        input.Reply = std::make_shared<DragReply>(
            [this, action](bool accepted) { DragAnswers.push_back({action, accepted}); });
    return input;
}

void HeadlessPlatform::DragTo(int x, int y) {
    Queue([this, x, y] {
        dragPoint_ = {x, y};
        HeadlessWindow* target = WindowAt(dragPoint_);
        if (target && target->Kind() != WindowKind::Main) target = nullptr;
        if (dragOver_ && dragOver_ != target)
            dragOver_->Listener().NativeDrag(DragNotice(DragAction::Leave));
        dragOver_ = target;
        if (!target) {
            DragAnswers.push_back({DragAction::Over, false});  // no window takes it
            return;
        }
        target->Listener().NativeDrag(DragNotice(DragAction::Over));
    });
}

void HeadlessPlatform::DragAway() {
    Queue([this] {
        if (dragOver_) dragOver_->Listener().NativeDrag(DragNotice(DragAction::Leave));
        dragOver_ = nullptr;
    });
}

void HeadlessPlatform::Drop(std::vector<std::string> files, bool onlyFiles) {
    Queue([this, files = std::move(files), onlyFiles] {
        HeadlessWindow* target = dragOver_;
        dragOver_ = nullptr;
        if (!target) {
            DragAnswers.push_back({DragAction::Drop, false});
            return;
        }
        DragInput input = DragNotice(DragAction::Drop);
        if (onlyFiles) input.Files = files;
        input.OnlyFiles = onlyFiles;
        target->Listener().NativeDrag(input);
    });
}

void HeadlessPlatform::SendCloseRequest(std::uintptr_t window) {
    Queue([this, window] {
        if (HeadlessWindow* w = WindowByHandle(window)) w->Listener().NativeCloseRequest();
    });
}

void HeadlessPlatform::SendTrayMessage(std::uint32_t uID, std::intptr_t mouseMessage) {
    Queue([this, uID, mouseMessage] {
        // The shell answers for the icon as it was last added or modified.
        for (auto it = NotifyCalls.rbegin(); it != NotifyCalls.rend(); ++it) {
            if (it->Data.uID != uID || !it->Result || it->Message == NIM_DELETE) continue;
            if (app_)
                app_->NativeTrayMessage(it->Data.hWnd, it->Data.uCallbackMessage, uID, mouseMessage,
                                        pointer_);
            return;
        }
    });
}

void HeadlessPlatform::SendTrayRecreated() {
    Queue([this] {
        if (app_) app_->NativeTrayRecreated();
    });
}

void HeadlessPlatform::SendTrayLost() {
    Queue([this] {
        if (app_) app_->NativeTrayLost();
    });
}

void HeadlessPlatform::SendSessionEnd() {
    Queue([this] {
        if (app_) app_->NativeSessionEnd();
    });
}

HeadlessWindow* HeadlessPlatform::FocusWindow() const {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if ((*it)->Visible() && (*it)->Kind() != WindowKind::Tooltip) return *it;
    return nullptr;
}

void HeadlessPlatform::PressKey(Key key, gfx::TShiftState shift) {
    Queue([this, key, shift] {
        if (HeadlessWindow* w = FocusWindow()) w->Listener().NativeKey({key, shift});
    });
}

// ------------------------------------------------------------ monitors

void HeadlessPlatform::SetMonitors(std::vector<TRect> monitors) {
    if (monitors.empty()) throw std::logic_error("headless: a desktop has at least one monitor");
    monitors_ = std::move(monitors);
}

void HeadlessPlatform::ChangeMonitors(std::vector<TRect> monitors) {
    SetMonitors(std::move(monitors));
    Queue([this] {
        if (app_) app_->NativeMonitorsChanged();
    });
}

// ------------------------------------------------------------ running copies

void HeadlessPlatform::ShareRunningCopiesWith(HeadlessPlatform& other) { copies_ = other.copies_; }

bool HeadlessPlatform::BecomeRunningCopy(StartRequest request) {
    // The same file reached by another path is the same file.
    std::error_code ec;
    std::string file = std::filesystem::weakly_canonical(SettingsFile(), ec).string();
    if (ec) file = SettingsFile();
    auto& running = copies_->BySettingsFile;
    if (auto it = running.find(file); it != running.end() && it->second != this) {
        HeadlessPlatform* owner = it->second;
        owner->Queue([owner, request] {
            if (owner->app_) owner->app_->NativeStartRequest(request);
        });
        return false;
    }
    running[file] = this;
    return true;
}

// ------------------------------------------------------------ services

std::string HeadlessPlatform::SettingsFile() {
    if (OnSettingsFile) OnSettingsFile();
    return settings::SettingsFileName(executablePath_, "/");
}

int HeadlessPlatform::ShellOpen(const ShellOpenRequest& request) {
    int result = 2;
    if (auto it = ShellResults.find(request.File); it != ShellResults.end())
        result = it->second;
    else if (std::error_code ec; std::filesystem::exists(request.File, ec))
        result = 42;
    ShellCalls.push_back({request, result});
    return result;
}

std::optional<gfx::TIcon> HeadlessPlatform::FileIcon(const std::string& path) {
    IconLookups.push_back(path);
    if (OnIconLookup) OnIconLookup(path);
    if (auto fault = IconFaults.find(path); fault != IconFaults.end())
        throw std::runtime_error(fault->second);
    if (auto it = Icons.find(path); it != Icons.end()) return it->second;
    return std::nullopt;
}

void HeadlessPlatform::ScriptOpenDialog(std::optional<std::string> answer, int delayMs) {
    dialogAnswers_.push_back({std::move(answer), delayMs});
}

std::unique_ptr<FileDialogSession> HeadlessPlatform::BeginOpenFileDialog(
    const OpenFileRequest& request) {
    DialogRequests.push_back(request);
    if (dialogAnswers_.empty())
        throw std::logic_error("headless: an open-file dialog was not scripted");
    DialogAnswer answer = std::move(dialogAnswers_.front());
    dialogAnswers_.pop_front();
    auto session = std::make_unique<ScriptedDialog>();
    ScriptedDialog* raw = session.get();
    After(answer.DelayMs, [raw, path = std::move(answer.Path)] {
        raw->answer = path;
        raw->finished = true;
    });
    return session;
}

bool HeadlessPlatform::ShowNativeErrorBox(const std::string& title, const std::string& message) {
    ErrorBoxes.push_back({title, message});
    return HasNativeErrorBox;
}

bool HeadlessPlatform::NotifyIcon(std::uint32_t message, const NotifyIconData& data) {
    const bool result = message == NIM_DELETE ? true : NotifyIconResult;
    NotifyCalls.push_back({message, data, result});
    return result;
}

// ------------------------------------------------------------ HeadlessWindow

HeadlessWindow::HeadlessWindow(HeadlessPlatform& platform, const WindowSpec& spec,
                               WindowListener& listener, std::uintptr_t handle)
    : platform_(platform), listener_(listener), handle_(handle), kind_(spec.Kind),
      bounds_(spec.Bounds), caption_(spec.Caption) {}

HeadlessWindow::~HeadlessWindow() { platform_.WindowDestroyed(this); }

void HeadlessWindow::SetBounds(const TRect& screenRect) {
    const std::optional<TPoint> place = platform_.ManagerPlace;
    if (!place || kind_ != WindowKind::Main) {
        // A shown window that moves says where it went, as a window system
        // does: input taken before the move named the old place.
        const bool moved = screenRect.Left != bounds_.Left || screenRect.Top != bounds_.Top;
        bounds_ = screenRect;
        if (moved && visible_) platform_.ManagerMoves(this, {bounds_.Left, bounds_.Top});
        return;
    }
    // The manager keeps the window where it put it, and says so.
    bounds_ = gfx::Bounds(place->X, place->Y, screenRect.Width(), screenRect.Height());
    if (screenRect.Left != place->X || screenRect.Top != place->Y) platform_.ManagerMoves(this, *place);
}

bool HeadlessWindow::BeginSystemMove(const TPoint& screen) {
    if (!platform_.ManagerPlace || kind_ != WindowKind::Main) return false;
    ++platform_.SystemMoves;
    platform_.systemMove_ = this;
    platform_.systemMoveOffset_ = {screen.X - bounds_.Left, screen.Y - bounds_.Top};
    return true;
}

void HeadlessWindow::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (visible) platform_.Raise(this);
}

void HeadlessWindow::BringToFront() { platform_.Raise(this); }

void HeadlessWindow::Present(const gfx::TSurface& backBuffer, const TRect& area) {
    ++presents_;
    if (presented_.Width() != backBuffer.Width() || presented_.Height() != backBuffer.Height())
        presented_.Resize(backBuffer.Width(), backBuffer.Height());
    const TRect r = gfx::Intersect(area, backBuffer.BoundsRect());
    for (int y = r.Top; y < r.Bottom; ++y)
        std::copy(backBuffer.Row(y) + r.Left, backBuffer.Row(y) + r.Right, presented_.Row(y) + r.Left);
}

}  // namespace platform
