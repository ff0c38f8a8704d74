#include "platform/xdg/tray/PacedReplies.h"

namespace platform::xdg {

PacedReplies::PacedReplies(const Gio& gio, MainContextPoll& loop, GDBusConnection* connection)
    : gio_(gio), loop_(loop), connection_(connection), cancellable_(OwnObject(gio, gio.g_cancellable_new())) {}

PacedReplies::~PacedReplies() {
    if (flush_) flush_->Owner = nullptr;
    gio_.g_cancellable_cancel(cancellable_.get());
    for (auto& [invocation, answer] : waiting_)
        gio_.g_dbus_method_invocation_return_dbus_error(invocation, "org.freedesktop.DBus.Error.Failed",
                                                        "the item is gone");
}

void PacedReplies::Add(GDBusMethodInvocation* invocation, Answer answer) {
    waiting_.emplace_back(invocation, std::move(answer));
    if (!flush_) SendNext();
}

void PacedReplies::SendNext() {
    if (waiting_.empty()) return;
    auto [invocation, answer] = std::move(waiting_.front());
    waiting_.pop_front();
    gio_.g_dbus_method_invocation_return_value(invocation, answer());
    flush_ = std::make_unique<Flush>(Flush{this, &gio_}).release();  // the callback takes it back
    MainContextPoll::Default calls(loop_);
    gio_.g_dbus_connection_flush(connection_, cancellable_.get(), &PacedReplies::Flushed, flush_);
}

void PacedReplies::Flushed(GObject* connection, GAsyncResult* result, gpointer data) {
    const std::unique_ptr<Flush> flush(static_cast<Flush*>(data));
    GErrorSlot error(*flush->Functions);
    flush->Functions->g_dbus_connection_flush_finish(reinterpret_cast<GDBusConnection*>(connection), result,
                                                     error.Out());
    PacedReplies* replies = flush->Owner;
    if (!replies) return;  // gone while the answer was written
    replies->flush_ = nullptr;
    replies->SendNext();
}

}  // namespace platform::xdg
