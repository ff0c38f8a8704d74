#include "platform/xdg/tray/MainContextPoll.h"

#include <algorithm>

namespace platform::xdg {

MainContextPoll::MainContextPoll(const Gio& gio) : gio_(gio), context_(gio.g_main_context_new()) {
    // The GUI thread owns the context for its whole life: prepare, check
    // and dispatch need the owner.
    gio_.g_main_context_acquire(context_);
}

MainContextPoll::~MainContextPoll() {
    gio_.g_main_context_release(context_);
    gio_.g_main_context_unref(context_);
}

void MainContextPoll::Prepare(std::vector<pollfd>& fds, int& timeoutMs) {
    gio_.g_main_context_prepare(context_, &priority_);
    gint timeout = -1;
    for (;;) {
        const gint n = gio_.g_main_context_query(context_, priority_, &timeout, glibFds_.data(),
                                                 gint(glibFds_.size()));
        if (std::size_t(n) <= glibFds_.size()) {
            glibFds_.resize(std::size_t(n));
            break;
        }
        glibFds_.resize(std::size_t(n));
    }
    first_ = fds.size();
    for (const GPollFD& g : glibFds_) fds.push_back({g.fd, short(g.events), 0});
    if (timeout >= 0) timeoutMs = timeoutMs < 0 ? timeout : std::min(timeoutMs, int(timeout));
    prepared_ = true;
}

void MainContextPoll::Dispatch(const std::vector<pollfd>& fds) {
    if (!prepared_) return DispatchReady();
    prepared_ = false;
    for (std::size_t i = 0; i < glibFds_.size() && first_ + i < fds.size(); ++i)
        glibFds_[i].revents = gushort(fds[first_ + i].revents);
    if (gio_.g_main_context_check(context_, priority_, glibFds_.data(), gint(glibFds_.size())))
        gio_.g_main_context_dispatch(context_);
}

void MainContextPoll::DispatchReady() {
    while (gio_.g_main_context_iteration(context_, FALSE)) {
    }
}

}  // namespace platform::xdg
