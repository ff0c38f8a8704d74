#include "gui/Application.h"

#include <algorithm>
#include <cstdio>
#include <variant>

#include "gui/Form.h"
#include "gui/Timer.h"

namespace gui {

namespace {
std::string BaseNameWithoutExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\:");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}
}  // namespace

TApplication::TApplication(platform::Platform& platform)
    : TComponent(nullptr), platform_(platform) {
    Title = BaseNameWithoutExtension(platform_.ExecutablePath());
    platform_.SetAppListener(this);
}

TApplication::~TApplication() {
    DestroyOwnedComponents();
    platform_.SetAppListener(nullptr);
    FreeUnitStates();
}

void TApplication::FreeUnitStates() {
    // A unit's state may refer to one made before it.
    while (!units_.empty()) units_.pop_back();
}

void TApplication::Adopt(TForm* form) { TComponent::Adopt(std::unique_ptr<TComponent>(form)); }

void TApplication::FormCreated(TForm* form) {
    forms_.push_back(form);
    if (!mainForm_ && creatingForm_) {
        mainForm_ = form;
        form->HandleNeeded();
    }
}

void TApplication::FormDestroyed(TForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    modal_.erase(std::remove(modal_.begin(), modal_.end(), form), modal_.end());
    if (mainForm_ == form) mainForm_ = nullptr;
    for (auto it = handles_.begin(); it != handles_.end();)
        it = it->second == form ? handles_.erase(it) : std::next(it);
}

// ------------------------------------------------------------ the loop

void TApplication::Run() {
    if (mainForm_) mainForm_->Show();
    while (!terminated_) HandleMessage();
}

void TApplication::HandleMessage() {
    if (!ProcessMessage()) Wait();
}

void TApplication::ProcessMessages() {
    while (ProcessMessage()) {
    }
    PresentAll();
}

bool TApplication::ProcessMessage() {
    if (queue_.empty() && platform_.InputPending()) platform_.DeliverEvents(platform_.NowMs());
    if (!queue_.empty()) {
        const TQueuedInput input = std::move(queue_.front());
        queue_.pop_front();
        Dispatch(input);
        return true;
    }
    return PaintOneForm() || FireOneTimer();
}

void TApplication::Wait() {
    PresentAll();
    if (terminated_) return;
    ++waits_;
    platform_.DeliverEvents(NextTimerDue());
}

void TApplication::PresentAll() {
    for (TForm* form : std::vector<TForm*>(forms_)) form->FlushPresent();
}

void TApplication::Dispatch(const TQueuedInput& input) {
    try {
        std::visit([this](const auto& notice) { Deliver(notice); }, input);
    } catch (const std::exception& e) {
        ShowException(e.what());
    }
}

void TApplication::Deliver(const TMouseNotice& notice) {
    TForm* form = FormOf(notice.Window);
    if (form && TakesInput(form)) form->HandleMouse(notice.Input);
}

void TApplication::Deliver(const TKeyNotice& notice) {
    TForm* form = FormOf(notice.Window);
    if (form && TakesInput(form)) form->HandleKey(notice.Input);
}

void TApplication::Deliver(const TCloseNotice& notice) {
    if (TForm* form = FormOf(notice.Window)) form->Close();
}

void TApplication::Deliver(const TTrayNotice& notice) {
    TMsg msg;
    msg.hwnd = notice.Window;
    msg.message = notice.Message;
    msg.wParam = notice.WParam;
    msg.lParam = notice.LParam;
    msg.pt = notice.Screen;
    bool handled = false;
    if (OnMessage) OnMessage(msg, handled);
    if (handled) return;
    if (TWinControl* target = FindControl(msg.hwnd)) target->WndProc(msg);
}

void TApplication::Deliver(const TDragNotice& notice) {
    TForm* form = FormOf(notice.Window);
    if (!form) return;
    // Behind a modal window a form takes no drop (an unanswered reply
    // refuses it); a leave always reaches it, to end the hover picture.
    if (TakesInput(form) || notice.Input.Action == platform::DragAction::Leave)
        form->HandleDrag(notice.Input);
}

void TApplication::Deliver(const TMonitorsNotice&) {
    if (OnMonitorsChanged) OnMonitorsChanged();
}

void TApplication::Deliver(const TStartNotice& notice) {
    if (OnStartRequest) OnStartRequest(notice.Request);
}

TForm* TApplication::FormOf(HWND handle) const {
    return dynamic_cast<TForm*>(FindControl(handle));
}

bool TApplication::TakesInput(TWinControl* target) const {
    // A null entry stands for a platform dialog: then no form takes input.
    return modal_.empty() || target == modal_.back();
}

bool TApplication::PaintOneForm() {
    for (TForm* form : forms_) {
        if (!form->NeedsPaint() || !form->Visible()) continue;
        TMsg msg;
        msg.hwnd = form->Handle();
        msg.message = WM_PAINT;
        try {
            bool handled = false;
            if (OnMessage) OnMessage(msg, handled);
            form->PaintInvalid();
        } catch (const std::exception& e) {
            ShowException(e.what());
        }
        return true;
    }
    return false;
}

// ------------------------------------------------------------ timers

void TApplication::StartTimer(TTimer* timer, int intervalMs) {
    StopTimer(timer);
    timers_.push_back({timer, intervalMs, platform_.NowMs() + intervalMs});
}

void TApplication::StopTimer(TTimer* timer) {
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                                 [&](const RunningTimer& t) { return t.timer == timer; }),
                  timers_.end());
}

std::int64_t TApplication::NextTimerDue() const {
    std::int64_t next = -1;
    for (const RunningTimer& t : timers_)
        if (next < 0 || t.due < next) next = t.due;
    return next;
}

bool TApplication::FireOneTimer() {
    const std::int64_t now = platform_.NowMs();
    auto due = std::min_element(timers_.begin(), timers_.end(),
                                [](const RunningTimer& a, const RunningTimer& b) {
                                    return a.due < b.due;
                                });
    if (due == timers_.end() || due->due > now) return false;
    due->due = now + due->interval;
    TTimer* timer = due->timer;
    TMsg msg;
    msg.message = WM_TIMER;
    msg.wParam = reinterpret_cast<std::uintptr_t>(timer);
    try {
        bool handled = false;
        if (OnMessage) OnMessage(msg, handled);
        if (!handled) timer->Fire();
    } catch (const std::exception& e) {
        ShowException(e.what());
    }
    return true;
}

// ------------------------------------------------------------ errors

void TApplication::ShowException(const std::string& message) {
    // Also one line on the standard error, for a terminal or the session's
    // log: the lines of the box joined by ": " (a reason follows the message).
    std::string line = message;
    for (std::size_t at; (at = line.find('\n')) != std::string::npos;) line.replace(at, 1, ": ");
    std::fprintf(stderr, "sorimo: %s\n", line.c_str());
    if (platform_.ShowNativeErrorBox(Title, message)) return;
    // A platform without a native error box gets the GUI layer's own.
    ShowErrorForm(message);
}

// ------------------------------------------------------------ handles

HWND TApplication::AllocateHandle(TWinControl* control) {
    const HWND h = nextHandle_++;
    handles_[h] = control;
    return h;
}

void TApplication::RegisterHandle(HWND handle, TWinControl* control) { handles_[handle] = control; }

void TApplication::ReleaseHandle(HWND handle) { handles_.erase(handle); }

TWinControl* TApplication::FindControl(HWND handle) const {
    auto it = handles_.find(handle);
    return it == handles_.end() ? nullptr : it->second;
}

// ------------------------------------------------------------ modality

TApplication::ModalScope::ModalScope(TApplication& app, TForm* form) : app_(app) {
    app_.modal_.push_back(form);
}

TApplication::ModalScope::~ModalScope() {
    if (!app_.modal_.empty()) app_.modal_.pop_back();
}

// ------------------------------------------------------------ platform events

void TApplication::NativeTrayMessage(std::uintptr_t hWnd, std::uint32_t message,
                                     std::uintptr_t wParam, std::intptr_t lParam, TPoint screen) {
    PostInput(TTrayNotice{hWnd, message, wParam, lParam, screen});
}

void TApplication::NativeTrayRecreated() {
    if (OnTrayRecreated) OnTrayRecreated();
}

void TApplication::NativeTrayLost() {
    if (OnTrayLost) OnTrayLost();
}

void TApplication::NativeSessionEnd() {
    if (OnSessionEnd) OnSessionEnd();
}

void TApplication::NativeMonitorsChanged() { PostInput(TMonitorsNotice{}); }

void TApplication::NativeStartRequest(platform::StartRequest request) {
    PostInput(TStartNotice{request});
}

std::int64_t TApplication::NativeIdle() {
    // Queued input waits for the loop: a native dialog owns the input now.
    while (PaintOneForm() || FireOneTimer()) {
    }
    PresentAll();
    return NextTimerDue();
}

}  // namespace gui
