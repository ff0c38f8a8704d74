#include "platform/win32/ModalTicks.h"

#include <algorithm>

namespace platform::win32 {

namespace {
constexpr UINT_PTR kTickTimer = 1;
constexpr std::int64_t kLongestDelay = 0x7FFFFFFF;
}  // namespace

ModalTicks::Scope::Scope(ModalTicks& ticks) : ticks_(ticks) {
    // The first tick as soon as the modal loop runs: timers may be due.
    if (ticks_.depth_++ == 0) ticks_.Arm(0);
}

ModalTicks::Scope::~Scope() {
    if (--ticks_.depth_ == 0) ::KillTimer(ticks_.window_, kTickTimer);
}

void ModalTicks::Arm(std::int64_t delayMs) {
    ::SetTimer(window_, kTickTimer, UINT(std::clamp<std::int64_t>(delayMs, USER_TIMER_MINIMUM, kLongestDelay)),
               nullptr);
}

bool ModalTicks::OnTimer(WPARAM id, AppListener* app) {
    if (id != kTickTimer) return false;
    if (depth_ == 0 || !app) {
        ::KillTimer(window_, kTickTimer);
        return true;
    }
    const std::int64_t next = app->NativeIdle();
    // Nothing due later: only the GUI layer's own work starts timers, and it
    // runs in NativeIdle alone while the modal loop lasts.
    if (next < 0)
        ::KillTimer(window_, kTickTimer);
    else
        Arm(next - nowMs_());
    return true;
}

}  // namespace platform::win32
