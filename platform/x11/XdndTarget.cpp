#include "platform/x11/XdndTarget.h"

#include <climits>
#include <vector>

#include "platform/xdg/UriList.h"

namespace platform::x11 {

namespace {
constexpr long kVersion = 5;
constexpr long kOldestVersion = 3;  // positions carry a timestamp and an action from here on
// A path and its terminating NUL fit in PATH_MAX.
constexpr std::size_t kMaxPath = PATH_MAX - 1;
}  // namespace

struct XdndTarget::Names {
    Atom XdndAware, XdndEnter, XdndPosition, XdndStatus, XdndLeave, XdndDrop, XdndFinished,
        XdndSelection, XdndTypeList, XdndActionCopy, XdndActionMove, XdndActionLink, UriList,
        Property, INCR;
};

struct XdndTarget::Drag {
    Window target = 0;
    Window source = 0;
    long version = kVersion;
    bool offersFiles = false;
    TPoint point;                // logical screen point of the last position
    std::uint64_t position = 0;  // number of the last position
    bool accepted = false;       // what the last status said
    bool inside = false;         // the window heard an Over and no leave since
    bool dropped = false;        // XdndDrop came: no positions any more
    std::int64_t deadline = -1;  // while the data is awaited
};

XdndTarget::XdndTarget(Context& context, FindListener find)
    : context_(context), find_(std::move(find)), names_(std::make_unique<Names>()) {
    const char* names[] = {
        "XdndAware",      "XdndEnter",      "XdndPosition",  "XdndStatus",   "XdndLeave",
        "XdndDrop",       "XdndFinished",   "XdndSelection", "XdndTypeList", "XdndActionCopy",
        "XdndActionMove", "XdndActionLink", "text/uri-list", "SORIMO_DROP",  "INCR"};
    Atom atoms[15];
    XInternAtoms(context_.display, const_cast<char**>(names), 15, False, atoms);
    Names& n = *names_;
    Atom* fields[] = {
        &n.XdndAware,      &n.XdndEnter,      &n.XdndPosition,  &n.XdndStatus,   &n.XdndLeave,
        &n.XdndDrop,       &n.XdndFinished,   &n.XdndSelection, &n.XdndTypeList, &n.XdndActionCopy,
        &n.XdndActionMove, &n.XdndActionLink, &n.UriList,       &n.Property,     &n.INCR};
    for (int i = 0; i < 15; ++i) *fields[i] = atoms[i];
}

XdndTarget::~XdndTarget() {
    // A source still waiting hears that nothing was taken.
    if (drag_ && drag_->dropped) Give(false);
}

void XdndTarget::TakeDrops(Window window) {
    const Atom version = kVersion;
    XChangeProperty(context_.display, window, names_->XdndAware, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&version), 1);
}

TPoint XdndTarget::Logical(int rootX, int rootY) const {
    // Floor division, as for the pointer's other input.
    auto down = [s = context_.scale](int v) { return v >= 0 ? v / s : -((-v + s - 1) / s); };
    return {down(rootX), down(rootY)};
}

// ------------------------------------------------------------ events

bool XdndTarget::HandleEvent(const XEvent& e, std::int64_t nowMs) {
    if (e.type == SelectionNotify) {
        if (!drag_ || !drag_->dropped || drag_->deadline < 0 ||
            e.xselection.requestor != drag_->target ||
            e.xselection.selection != names_->XdndSelection)
            return false;
        OnData(e.xselection);
        return true;
    }
    if (e.type != ClientMessage || e.xclient.format != 32) return false;
    const XClientMessageEvent& m = e.xclient;
    const Names& n = *names_;
    const Atom type = m.message_type;
    if (type != n.XdndEnter && type != n.XdndPosition && type != n.XdndLeave && type != n.XdndDrop)
        return false;
    if (!find_(m.window)) return true;  // not a window of ours any more
    if (type == n.XdndEnter) OnEnter(m);
    if (type == n.XdndPosition) OnPosition(m);
    if (type == n.XdndLeave) OnLeave(m);
    if (type == n.XdndDrop) OnDrop(m, nowMs);
    return true;
}

void XdndTarget::OnEnter(const XClientMessageEvent& m) {
    // A drag that never ended (its source died) ends now.
    if (drag_) drag_->dropped ? Give(false) : LeaveWindow();
    const long version = (m.data.l[1] >> 24) & 0xFF;
    if (version < kOldestVersion) return;
    drag_ = std::make_shared<Drag>();
    drag_->target = m.window;
    drag_->source = Window(m.data.l[0]);
    drag_->version = version < kVersion ? version : kVersion;
    drag_->offersFiles = OffersFiles(m);
}

bool XdndTarget::OffersFiles(const XClientMessageEvent& m) const {
    std::vector<Atom> types;
    if (m.data.l[1] & 1) {
        // More than three types: the full list is a property of the source.
        Atom actual = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(context_.display, Window(m.data.l[0]), names_->XdndTypeList, 0, 4096,
                               False, XA_ATOM, &actual, &format, &count, &after,
                               &data) == Success &&
            data) {
            if (actual == XA_ATOM && format == 32) {
                const auto* atoms = reinterpret_cast<const unsigned long*>(data);
                types.assign(atoms, atoms + count);
            }
            XFree(data);
        }
    } else {
        for (int i = 2; i <= 4; ++i) types.push_back(Atom(m.data.l[i]));
    }
    for (Atom type : types)
        if (type == names_->UriList) return true;
    return false;
}

bool XdndTarget::TakesAction(Atom action) const {
    const Names& n = *names_;
    return action == n.XdndActionCopy || action == n.XdndActionMove || action == n.XdndActionLink;
}

void XdndTarget::OnPosition(const XClientMessageEvent& m) {
    if (!drag_ || drag_->dropped || drag_->source != Window(m.data.l[0])) return;
    Drag& drag = *drag_;
    drag.point = Logical(int((m.data.l[2] >> 16) & 0xFFFF), int(m.data.l[2] & 0xFFFF));
    const std::uint64_t position = ++drag.position;
    if (!drag.offersFiles || !TakesAction(Atom(m.data.l[4]))) {
        // Nothing we could take: no notice, and no cell pressed.
        LeaveWindow();
        drag.accepted = false;
        SendStatus(drag, false);
        return;
    }
    drag.inside = true;
    DragInput input;
    input.Action = DragAction::Over;
    input.Screen = drag.point;
    std::weak_ptr<Drag> weak = drag_;
    input.Reply = std::make_shared<DragReply>([this, weak, position](bool accepted) {
        // Only the answer to the newest position of a drag still going on.
        auto current = weak.lock();
        if (!current || current->dropped || current->position != position) return;
        current->accepted = accepted;
        SendStatus(*current, accepted);
    });
    Tell(input);
}

void XdndTarget::OnLeave(const XClientMessageEvent& m) {
    if (!drag_ || drag_->dropped || drag_->source != Window(m.data.l[0])) return;
    LeaveWindow();
    drag_.reset();
}

void XdndTarget::OnDrop(const XClientMessageEvent& m, std::int64_t nowMs) {
    if (!drag_ || drag_->dropped || drag_->source != Window(m.data.l[0])) {
        // A drop we never heard enter: say no at once.
        Send(Window(m.data.l[0]), names_->XdndFinished, 0, None, 0, 0, m.window);
        return;
    }
    drag_->dropped = true;
    if (!drag_->accepted) {
        LeaveWindow();
        Give(false);
        return;
    }
    const Time time = Time(m.data.l[2]);
    XDeleteProperty(context_.display, drag_->target, names_->Property);
    XConvertSelection(context_.display, names_->XdndSelection, names_->UriList, names_->Property,
                      drag_->target, time);
    XFlush(context_.display);
    drag_->deadline = nowMs + kDataTimeoutMs;
}

void XdndTarget::OnData(const XSelectionEvent& e) {
    drag_->deadline = -1;
    std::optional<std::string> text;
    if (e.property != None) text = TakeData(drag_->target, e.property);
    if (!text) {
        LeaveWindow();
        Give(false);
        return;
    }
    DragInput input;
    input.Action = DragAction::Drop;
    input.Screen = drag_->point;
    if (auto files = xdg::LocalFilesOfUriList(*text, kMaxPath))
        input.Files = std::move(*files);
    else
        input.OnlyFiles = false;
    std::weak_ptr<Drag> weak = drag_;
    input.Reply = std::make_shared<DragReply>([this, weak](bool accepted) {
        if (weak.lock() == drag_ && drag_) Give(accepted);
    });
    drag_->inside = false;  // the drop ends the window's drag
    Tell(input);
}

std::optional<std::string> XdndTarget::TakeData(Window window, Atom property) const {
    Atom actual = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(context_.display, window, property, 0, 1L << 24, True, AnyPropertyType,
                           &actual, &format, &count, &after, &data) != Success)
        return std::nullopt;
    std::optional<std::string> text;
    // Data sent in pieces (INCR, for lists of hundreds of kilobytes) is not
    // taken: such a drop is refused.
    if (data && format == 8 && actual != names_->INCR && after == 0)
        text.emplace(reinterpret_cast<const char*>(data), count);
    if (data) XFree(data);
    return text;
}

std::int64_t XdndTarget::NextDeadline() const {
    return drag_ ? drag_->deadline : -1;
}

void XdndTarget::OnTime(std::int64_t nowMs) {
    if (!drag_ || drag_->deadline < 0 || nowMs < drag_->deadline) return;
    // The source never delivered the data.
    drag_->deadline = -1;
    LeaveWindow();
    Give(false);
}

// ------------------------------------------------------------ answers

void XdndTarget::Tell(const DragInput& input) {
    if (WindowListener* listener = find_(drag_->target)) listener->NativeDrag(input);
}

void XdndTarget::LeaveWindow() {
    if (!drag_ || !drag_->inside) return;
    drag_->inside = false;
    DragInput input;
    input.Action = DragAction::Leave;
    input.Screen = drag_->point;
    Tell(input);
}

void XdndTarget::Give(bool accepted) {
    const std::shared_ptr<Drag> drag = std::move(drag_);
    if (!drag) return;
    const Atom action = accepted ? names_->XdndActionCopy : None;
    Send(drag->source, names_->XdndFinished, accepted ? 1 : 0, long(action), 0, 0, drag->target);
}

void XdndTarget::SendStatus(const Drag& drag, bool accepted) {
    // Bit 1: send a position for every move, the answer differs by cell.
    const Atom action = accepted ? names_->XdndActionCopy : None;
    Send(drag.source, names_->XdndStatus, (accepted ? 1 : 0) | 2, 0, 0, long(action), drag.target);
}

void XdndTarget::Send(Window source, Atom type, long l1, long l2, long l3, long l4, Window target) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.display = context_.display;
    e.xclient.window = source;
    e.xclient.message_type = type;
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(target);
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    e.xclient.data.l[3] = l3;
    e.xclient.data.l[4] = l4;
    XSendEvent(context_.display, source, False, NoEventMask, &e);
    XFlush(context_.display);
}

}  // namespace platform::x11
