// Answers that carry pictures, for a bus client that asks faster than it
// reads (a panel that polls the tray item's icon). Each answer is handed to
// the connection only once the one before it has been written out, so that
// requests wait as small incoming messages instead of piling up in our
// memory as a queue of large answers that the bus cannot deliver yet.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <utility>

#include "platform/xdg/GLibHandles.h"
#include "platform/xdg/tray/MainContextPoll.h"

namespace platform::xdg {

class PacedReplies {
public:
    // The answer's body, made when its turn comes (so it is current).
    using Answer = std::function<GVariant*()>;

    PacedReplies(const Gio& gio, MainContextPoll& loop, GDBusConnection* connection);
    // Answers still waiting get an error; a flush under way is cancelled.
    ~PacedReplies();
    PacedReplies(const PacedReplies&) = delete;
    PacedReplies& operator=(const PacedReplies&) = delete;

    // Takes over `invocation` and answers it after those before it.
    void Add(GDBusMethodInvocation* invocation, Answer answer);
    std::size_t Waiting() const { return waiting_.size(); }

private:
    // One flush under way; its owner is cleared when the replies go first.
    struct Flush {
        PacedReplies* Owner;
        const Gio* Functions;
    };
    void SendNext();
    static void Flushed(GObject* connection, GAsyncResult* result, gpointer flush);

    const Gio& gio_;
    MainContextPoll& loop_;
    GDBusConnection* connection_;
    std::deque<std::pair<GDBusMethodInvocation*, Answer>> waiting_;
    GObjectPtr<GCancellable> cancellable_;
    Flush* flush_ = nullptr;  // an answer is handed over and not yet written
};

}  // namespace platform::xdg
