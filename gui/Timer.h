// TTimer: raises OnTimer every Interval milliseconds while enabled.
// Interval 0 stops it; setting the interval it already has changes nothing
// (a running timer is not restarted); another interval restarts it.
#pragma once

#include "gui/Component.h"
#include "gui/Control.h"

namespace gui {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    int Interval() const { return interval_; }
    void SetInterval(int ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    void SetOnTimer(TNotifyEvent handler);
    bool Running() const { return runningIn_ != nullptr; }

    // Called by the application when the timer is due.
    void Fire();

private:
    void Update();

    int interval_ = 1000;
    bool enabled_ = true;
    // The application the timer is registered with. It is kept rather than
    // asked of the owner again: a timer destroyed with an owner whose
    // construction failed can no longer reach the application through it.
    TApplication* runningIn_ = nullptr;
    TNotifyEvent onTimer_;
};

}  // namespace gui
