// Keeps the GUI layer's timers and paints going while a native modal loop
// (a blocking dialog call such as GetOpenFileNameA or MessageBoxW) holds the
// thread: a SetTimer on the backend's hidden window, dispatched by that
// loop, runs AppListener::NativeIdle and is set again for the next due
// timer of the GUI layer.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Platform.h"
#include "platform/win32/Win32Handles.h"

namespace platform::win32 {

class ModalTicks {
public:
    ModalTicks(HWND window, std::function<std::int64_t()> nowMs)
        : window_(window), nowMs_(std::move(nowMs)) {}

    // Ticks run while at least one scope lives (scopes nest).
    class Scope {
    public:
        explicit Scope(ModalTicks& ticks);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        ModalTicks& ticks_;
    };

    // WM_TIMER to the hidden window: true when it was a tick.
    bool OnTimer(WPARAM id, AppListener* app);

private:
    void Arm(std::int64_t delayMs);

    HWND window_;
    std::function<std::int64_t()> nowMs_;
    int depth_ = 0;
};

}  // namespace platform::win32
