#include "platform/wayland/WaylandDropTarget.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <optional>

#include "platform/wayland/WaylandConversions.h"
#include "platform/xdg/UniqueFd.h"
#include "platform/xdg/UriList.h"

namespace platform::wayland {

namespace {
constexpr const char* kUriList = "text/uri-list";
constexpr std::size_t kMaxPath = PATH_MAX - 1;

std::int64_t Now() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

WaylandDropTarget& TargetOf(void* data) { return *static_cast<WaylandDropTarget*>(data); }

void OnOffer(void* data, wl_data_offer* offer, const char* mimeType) { TargetOf(data).Offered(offer, mimeType); }
void OnSourceActions(void*, wl_data_offer*, std::uint32_t) {}
void OnAction(void*, wl_data_offer*, std::uint32_t) {}
const wl_data_offer_listener kOfferListener = {OnOffer, OnSourceActions, OnAction};

void OnDataOffer(void* data, wl_data_device*, wl_data_offer* offer) {
    wl_data_offer_add_listener(offer, &kOfferListener, data);
    TargetOf(data).NewOffer(offer);
}
void OnEnter(void* data, wl_data_device*, std::uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y,
             wl_data_offer* offer) {
    TargetOf(data).Enter(serial, surface, x, y, offer);
}
void OnLeave(void* data, wl_data_device*) { TargetOf(data).Leave(); }
void OnMotion(void* data, wl_data_device*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) { TargetOf(data).Motion(x, y); }
void OnDrop(void* data, wl_data_device*) { TargetOf(data).Drop(); }
void OnSelection(void* data, wl_data_device*, wl_data_offer* offer) { TargetOf(data).Selection(offer); }
const wl_data_device_listener kDeviceListener = {OnDataOffer, OnEnter, OnLeave, OnMotion, OnDrop, OnSelection};

}  // namespace

struct WaylandDropTarget::Drag {
    Owned<wl_data_offer> offer;
    std::uint32_t serial = 0;
    std::uintptr_t window = 0;
    TPoint origin;  // the window's corner in the layout
    TPoint point;   // the pointer, in the layout
    bool accepted = false;
    bool dropped = false;
    xdg::UniqueFd pipe;
    std::string data;
    std::int64_t deadline = -1;
};

WaylandDropTarget::WaylandDropTarget(Context& context, wl_data_device_manager* manager, wl_seat* seat,
                                     Find find)
    : context_(context), find_(std::move(find)),
      device_(wl_data_device_manager_get_data_device(manager, seat)) {
    wl_data_device_add_listener(device_.get(), &kDeviceListener, this);
}

WaylandDropTarget::~WaylandDropTarget() {
    drag_.reset();
    for (auto& [offer, files] : offers_) wl_data_offer_destroy(offer);
}

void WaylandDropTarget::NewOffer(wl_data_offer* offer) { offers_[offer] = false; }

void WaylandDropTarget::Offered(wl_data_offer* offer, const char* mimeType) {
    auto it = offers_.find(offer);
    if (it != offers_.end() && std::strcmp(mimeType, kUriList) == 0) it->second = true;
}

// The clipboard is not ours to read: its offers go at once.
void WaylandDropTarget::Selection(wl_data_offer* offer) {
    if (!offer) return;
    offers_.erase(offer);
    wl_data_offer_destroy(offer);
}

void WaylandDropTarget::Enter(std::uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y,
                              wl_data_offer* offer) {
    Leave();
    bool files = false;
    if (auto it = offers_.find(offer); it != offers_.end()) {
        files = it->second;
        offers_.erase(it);
    }
    WaylandWindow* window = surface ? find_(surface) : nullptr;
    if (!offer) return;
    if (!files || !window || window->Kind() != WindowKind::Main) {
        // Not for us: say no and let the offer go when the drag leaves.
        wl_data_offer_accept(offer, serial, nullptr);
        wl_data_offer_destroy(offer);
        return;
    }
    drag_ = std::make_shared<Drag>();
    drag_->offer.reset(offer);
    drag_->serial = serial;
    drag_->window = window->Handle();
    drag_->origin = window->ShownOrigin();
    if (wl_data_offer_get_version(offer) >= WL_DATA_OFFER_SET_ACTIONS_SINCE_VERSION)
        wl_data_offer_set_actions(offer, WL_DATA_DEVICE_MANAGER_DND_ACTION_COPY,
                                  WL_DATA_DEVICE_MANAGER_DND_ACTION_COPY);
    Motion(x, y);
}

void WaylandDropTarget::Motion(wl_fixed_t x, wl_fixed_t y) {
    if (!drag_ || drag_->dropped) return;
    drag_->point = ScreenPoint(drag_->origin, x, y);
    Over();
}

// A notice whose answer accepts or refuses the offer at this point.
void WaylandDropTarget::Over() {
    DragInput input;
    input.Action = DragAction::Over;
    input.Screen = drag_->point;
    std::weak_ptr<Drag> weak = drag_;
    input.Reply = std::make_shared<DragReply>([this, weak](bool accepted) {
        const std::shared_ptr<Drag> drag = weak.lock();
        if (!drag || drag != drag_ || drag->dropped) return;
        drag->accepted = accepted;
        wl_data_offer_accept(drag->offer.get(), drag->serial, accepted ? kUriList : nullptr);
        wl_display_flush(context_.display);
    });
    Tell(std::move(input));
}

// After a drop the compositor sends a leave too: the offer stays ours
// until the drop is answered.
void WaylandDropTarget::Leave() {
    if (!drag_ || drag_->dropped) return;
    const std::uintptr_t window = drag_->window;
    drag_.reset();
    TellLeave(window);
}

void WaylandDropTarget::TellLeave(std::uintptr_t window) {
    DragInput input;
    input.Action = DragAction::Leave;
    context_.post(window, [input](WaylandWindow& w) { w.Listener().NativeDrag(input); });
}

void WaylandDropTarget::Drop() {
    if (!drag_ || drag_->dropped) return;
    if (!drag_->accepted) {
        Leave();
        return;
    }
    drag_->dropped = true;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        Finish(false, true);
        return;
    }
    drag_->pipe = xdg::UniqueFd(fds[0]);
    wl_data_offer_receive(drag_->offer.get(), kUriList, fds[1]);
    close(fds[1]);
    wl_display_flush(context_.display);
    drag_->deadline = Now() + kDataTimeoutMs;
}

int WaylandDropTarget::Fd() const { return drag_ && drag_->pipe.Valid() ? drag_->pipe.Get() : -1; }

void WaylandDropTarget::OnReadable() {
    if (Fd() < 0) return;
    char chunk[4096];
    for (;;) {
        const ssize_t n = read(drag_->pipe.Get(), chunk, sizeof chunk);
        if (n > 0) {
            drag_->data.append(chunk, std::size_t(n));
            if (drag_->data.size() > kMaxListBytes) {
                Finish(false, true);
                return;
            }
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) return;  // more comes
        break;                                  // the end, or a broken pipe
    }
    drag_->pipe = xdg::UniqueFd();
    drag_->deadline = -1;
    Deliver();
}

// The drop notice with the list's local files; its answer finishes the offer.
void WaylandDropTarget::Deliver() {
    DragInput input;
    input.Action = DragAction::Drop;
    input.Screen = drag_->point;
    if (auto files = xdg::LocalFilesOfUriList(drag_->data, kMaxPath))
        input.Files = std::move(*files);
    else
        input.OnlyFiles = false;
    std::weak_ptr<Drag> weak = drag_;
    input.Reply = std::make_shared<DragReply>([this, weak](bool accepted) {
        if (weak.lock() == drag_ && drag_) Finish(accepted, false);
    });
    Tell(std::move(input));
}

std::int64_t WaylandDropTarget::NextDeadline() const { return drag_ ? drag_->deadline : -1; }

void WaylandDropTarget::OnTime(std::int64_t nowMs) {
    if (!drag_ || drag_->deadline < 0 || nowMs < drag_->deadline) return;
    // The source never delivered the data.
    Finish(false, true);
}

// Ends the dropped offer: finished when taken (the source then deletes
// nothing: the action is a copy), else let go, which cancels it. A window
// that never heard the drop hears that the drag is over (`leave`).
void WaylandDropTarget::Finish(bool accepted, bool leave) {
    const std::shared_ptr<Drag> drag = std::move(drag_);
    if (!drag) return;
    if (accepted && wl_data_offer_get_version(drag->offer.get()) >= WL_DATA_OFFER_FINISH_SINCE_VERSION)
        wl_data_offer_finish(drag->offer.get());
    drag->offer.reset();
    wl_display_flush(context_.display);
    if (leave) TellLeave(drag->window);
}

void WaylandDropTarget::Tell(DragInput input) {
    if (!drag_) return;
    context_.post(drag_->window, [input](WaylandWindow& w) { w.Listener().NativeDrag(input); });
}

}  // namespace platform::wayland
