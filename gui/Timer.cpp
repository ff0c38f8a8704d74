#include "gui/Timer.h"

#include "gui/Application.h"

namespace gui {

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
    if (runningIn_) runningIn_->StopTimer(this);
}

void TTimer::SetInterval(int ms) {
    if (ms == interval_) return;
    interval_ = ms;
    Update();
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Update();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    onTimer_ = std::move(handler);
    Update();
}

void TTimer::Update() {
    if (runningIn_) runningIn_->StopTimer(this);
    runningIn_ = nullptr;
    TApplication* app = Application();
    if (!app || interval_ <= 0 || !enabled_ || !onTimer_) return;
    app->StartTimer(this, interval_);
    runningIn_ = app;
}

void TTimer::Fire() {
    if (onTimer_) onTimer_(this);
}

}  // namespace gui
