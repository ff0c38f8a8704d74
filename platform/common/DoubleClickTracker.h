// Turns a second press of the same button, soon after and near the first,
// into a double click (for platforms that report only presses).
#pragma once

#include <cstdint>
#include <cstdlib>

#include "gfx/Types.h"

namespace platform {

class DoubleClickTracker {
public:
    explicit DoubleClickTracker(int timeMs = 500, int distance = 4)
        : timeMs_(timeMs), distance_(distance) {}

    // True when this press completes a double click. A third quick press
    // starts a new sequence, as a triple click gives a double click and a
    // press.
    bool Press(gfx::TMouseButton button, gfx::TPoint screen, std::uintptr_t window,
               std::int64_t nowMs) {
        const bool dbl = armed_ && button == button_ && window == window_ &&
                         nowMs - timeMs_ <= lastMs_ && std::abs(screen.X - at_.X) <= distance_ &&
                         std::abs(screen.Y - at_.Y) <= distance_;
        armed_ = !dbl;
        button_ = button;
        window_ = window;
        at_ = screen;
        lastMs_ = nowMs;
        return dbl;
    }

private:
    int timeMs_;
    int distance_;
    bool armed_ = false;
    gfx::TMouseButton button_ = gfx::mbLeft;
    std::uintptr_t window_ = 0;
    gfx::TPoint at_;
    std::int64_t lastMs_ = 0;
};

}  // namespace platform
