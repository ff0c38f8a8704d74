// The main window as a drop target for files dragged from other programs,
// through the seat's wl_data_device (internal to the backend).
//
// An offer that carries text/uri-list and enters the main window becomes
// drag notices for it: each motion is a notice whose answer accepts or
// refuses the offer (as a copy: the launcher only stores the path). On the
// drop the list is asked of the source through a pipe that the loop reads
// without blocking; its local files become the drop notice, and the answer
// finishes the offer or refuses it. A source that never delivers the data
// is given up after a time-out, through the loop's deadline.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/wayland/WaylandHandles.h"
#include "platform/wayland/WaylandWindow.h"

namespace platform::wayland {

class WaylandDropTarget {
public:
    using Find = std::function<WaylandWindow*(wl_surface*)>;
    static constexpr std::int64_t kDataTimeoutMs = 5000;
    // A list longer than this is refused (thousands of paths).
    static constexpr std::size_t kMaxListBytes = 1 << 20;

    WaylandDropTarget(Context& context, wl_data_device_manager* manager, wl_seat* seat, Find find);
    ~WaylandDropTarget();
    WaylandDropTarget(const WaylandDropTarget&) = delete;
    WaylandDropTarget& operator=(const WaylandDropTarget&) = delete;

    // The pipe of the dropped data while it is read, else -1.
    int Fd() const;
    void OnReadable();
    // When a drop gives up waiting for its data, or -1.
    std::int64_t NextDeadline() const;
    void OnTime(std::int64_t nowMs);

    // Event handlers (called by libwayland).
    void NewOffer(wl_data_offer* offer);
    void Offered(wl_data_offer* offer, const char* mimeType);
    void Enter(std::uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y, wl_data_offer* offer);
    void Leave();
    void Motion(wl_fixed_t x, wl_fixed_t y);
    void Drop();
    void Selection(wl_data_offer* offer);

private:
    struct Drag;
    void Tell(DragInput input);
    void Over();
    void Finish(bool accepted, bool leave);
    void TellLeave(std::uintptr_t window);
    void Deliver();

    Context& context_;
    Find find_;
    Owned<wl_data_device> device_;
    // Offers announced and not yet entered or given as the selection, and
    // whether each carries a list of files.
    std::map<wl_data_offer*, bool> offers_;
    std::shared_ptr<Drag> drag_;  // the drag over the main window, if any
};

}  // namespace platform::wayland
