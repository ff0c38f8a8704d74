// A GLib main context driven by the backend's own poll loop, so that GIO's
// callbacks (D-Bus method calls, replies, name changes) run on the GUI
// thread inside the one wait of the program, and nothing wakes it while
// nothing happens. The context is private: only what is attached to it
// while it is the thread's default runs there.
#pragma once

#include <poll.h>

#include <cstddef>
#include <vector>

#include "platform/xdg/Gio.h"

namespace platform::xdg {

class MainContextPoll {
public:
    explicit MainContextPoll(const Gio& gio);
    ~MainContextPoll();
    MainContextPoll(const MainContextPoll&) = delete;
    MainContextPoll& operator=(const MainContextPoll&) = delete;

    GMainContext* Context() const { return context_; }

    // Appends the context's descriptors to `fds` and lowers `timeoutMs`
    // (-1: none) to the context's next due time. Every Prepare is followed
    // by one Dispatch with the same vector after the poll.
    void Prepare(std::vector<pollfd>& fds, int& timeoutMs);
    void Dispatch(const std::vector<pollfd>& fds);
    // Runs what is ready without waiting (when the loop did not poll).
    void DispatchReady();

    // Makes the context the thread's default for a scope: GIO attaches the
    // callbacks of calls made meanwhile to it.
    class Default {
    public:
        explicit Default(MainContextPoll& poll) : poll_(poll) {
            poll_.gio_.g_main_context_push_thread_default(poll_.context_);
        }
        ~Default() { poll_.gio_.g_main_context_pop_thread_default(poll_.context_); }
        Default(const Default&) = delete;
        Default& operator=(const Default&) = delete;

    private:
        MainContextPoll& poll_;
    };

private:
    const Gio& gio_;
    GMainContext* context_;
    std::vector<GPollFD> glibFds_;
    std::size_t first_ = 0;  // where the context's descriptors start in the poll set
    gint priority_ = 0;
    bool prepared_ = false;
};

}  // namespace platform::xdg
