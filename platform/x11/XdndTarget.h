// The main window as a drop target for files dragged from other programs,
// over the XDND protocol, version 5 (internal to the X11 backend).
//
// The source names its data types on XdndEnter (in the message, or in its
// XdndTypeList property when there are more than three); each XdndPosition
// becomes a drag notice for the window and is answered with XdndStatus once
// the GUI layer has answered it (accepting copies; a move or link is taken
// as a copy, since the launcher only stores the path). On XdndDrop the
// text/uri-list is asked of the source's XdndSelection with the drop's
// timestamp; its local files become the drop notice, whose answer is sent
// as XdndFinished. A source that never delivers the data is given up after
// a time-out, through the loop's deadline: the window hears a leave and the
// source an XdndFinished that refuses.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/Platform.h"
#include "platform/x11/X11Window.h"

namespace platform::x11 {

class XdndTarget {
public:
    // The listener of one of the backend's windows, or null.
    using FindListener = std::function<WindowListener*(Window)>;
    // How long a drop waits for the source's data.
    static constexpr std::int64_t kDataTimeoutMs = 5000;

    XdndTarget(Context& context, FindListener find);
    ~XdndTarget();
    XdndTarget(const XdndTarget&) = delete;
    XdndTarget& operator=(const XdndTarget&) = delete;

    // Announces that the window takes drops (its XdndAware property).
    void TakeDrops(Window window);
    // XDND messages to our windows and the answer to our request for the
    // dropped data; true when the event was one of these.
    bool HandleEvent(const XEvent& e, std::int64_t nowMs);
    // When a drop gives up waiting for its data, or -1.
    std::int64_t NextDeadline() const;
    void OnTime(std::int64_t nowMs);

private:
    struct Drag;
    struct Names;

    void OnEnter(const XClientMessageEvent& m);
    void OnPosition(const XClientMessageEvent& m);
    void OnLeave(const XClientMessageEvent& m);
    void OnDrop(const XClientMessageEvent& m, std::int64_t nowMs);
    void OnData(const XSelectionEvent& e);
    bool OffersFiles(const XClientMessageEvent& m) const;
    bool TakesAction(Atom action) const;
    std::optional<std::string> TakeData(Window window, Atom property) const;
    void Tell(const DragInput& input);
    void LeaveWindow();
    void Give(bool accepted);  // XdndFinished for the current drop; ends it
    void SendStatus(const Drag& drag, bool accepted);
    void Send(Window source, Atom type, long l1, long l2, long l3, long l4, Window target);
    TPoint Logical(int rootX, int rootY) const;

    Context& context_;
    FindListener find_;
    std::unique_ptr<Names> names_;
    std::shared_ptr<Drag> drag_;  // the drag over one of our windows, if any
};

}  // namespace platform::x11
