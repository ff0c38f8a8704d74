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
    bool Running() const { return running_; }

    // Called by the application when the timer is due.
    void Fire();

private:
    void Update();

    int interval_ = 1000;
    bool enabled_ = true;
    bool running_ = false;
    TNotifyEvent onTimer_;
};

}  // namespace gui
