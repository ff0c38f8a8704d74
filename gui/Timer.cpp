#include "gui/Timer.h"

#include "gui/Application.h"

namespace gui {

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
    if (running_)
        if (TApplication* app = Application()) app->StopTimer(this);
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
    TApplication* app = Application();
    if (!app) return;
    app->StopTimer(this);
    running_ = interval_ > 0 && enabled_ && onTimer_;
    if (running_) app->StartTimer(this, interval_);
}

void TTimer::Fire() {
    if (onTimer_) onTimer_(this);
}

}  // namespace gui
