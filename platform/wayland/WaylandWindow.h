// A form's layer surface (internal to the backend). Every kind of window is
// a layer surface anchored at the top-left corner of the output that holds
// its place, with margins from there, so that it shows exactly at its
// bounds in the global layout: the launcher in the top layer, boxes and
// hints above everything. A window that moves to another output gets a new
// surface there (a layer surface belongs to one output for its life).
//
// Pixels go through two shared-memory buffers in turn, each logical pixel a
// block of scale x scale at the output's whole-number scale.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <vector>

#include "gfx/Surface.h"
#include "platform/Platform.h"
#include "platform/wayland/ShmBuffer.h"
#include "platform/wayland/WaylandHandles.h"
#include "platform/wayland/WaylandOutputs.h"

namespace platform::wayland {

class WaylandWindow;

// What every window of the backend shares.
struct Context {
    wl_display* display = nullptr;
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    zwlr_layer_shell_v1* layerShell = nullptr;
    WaylandOutputs* outputs = nullptr;
    // Which window a surface belongs to (the seat's events name surfaces).
    std::function<void(wl_surface*, WaylandWindow*)> attach;
    std::function<void(wl_surface*)> detach;
    // Runs a call on a window (by its handle) from the loop, not from
    // inside libwayland's dispatch; nothing when the window is gone by then.
    std::function<void(std::uintptr_t, std::function<void(WaylandWindow&)>)> post;
    // A window was shown for the first time (the tray connects then).
    std::function<void(WindowKind)> shown;
    // A pointer button is held on one of our surfaces: a window dragged
    // onto another output stays on its surface until the release (a new
    // surface would end the compositor's grab, and with it the drag).
    bool pointerHeld = false;
};

class WaylandWindow final : public NativeWindow {
public:
    WaylandWindow(Context& context, const WindowSpec& spec, WindowListener& listener,
                  std::uintptr_t id);
    ~WaylandWindow() override;
    WaylandWindow(const WaylandWindow&) = delete;
    WaylandWindow& operator=(const WaylandWindow&) = delete;

    void SetBounds(const TRect& screenRect) override;
    void SetVisible(bool visible) override;
    // A layer surface has no title or icon the desktop shows.
    void SetCaption(const std::string&) override {}
    void SetIcon(const gfx::TIcon&) override {}
    void Present(const gfx::TSurface& backBuffer, const TRect& area) override;
    // Layer surfaces stay in their layer; one is raised only by mapping it
    // again, which the launcher's showing already does.
    void BringToFront() override {}
    // Layer surfaces never have a taskbar entry.
    void HideTaskbarEntry() override {}
    std::uintptr_t Handle() const override { return id_; }
    // Positions and sizes are logical pixels; the scale is the backend's.
    int PixelScale() const override { return 1; }
    // The compositor carries out the program's own moves (the margins).
    bool BeginSystemMove(const TPoint&) override { return false; }
    void CancelSystemMove() override {}

    WindowKind Kind() const { return kind_; }
    WindowListener& Listener() { return listener_; }
    // Where the compositor shows the window now: the corner pointer
    // positions are relative to. A move is shown once the compositor has
    // taken the commit that asked for it.
    TPoint ShownOrigin() const { return shownOrigin_; }
    // Where the program has placed the window (its bounds), shown or not yet.
    TPoint PlacedOrigin() const { return {bounds_.Left, bounds_.Top}; }
    int Scale() const { return scale_; }
    // Outputs came, went or changed scale: go where the bounds say now.
    void OutputsChanged();
    // Draws the latest picture again, when a buffer was not free for it.
    void DrawWaiting();

private:
    struct Move;
    void Map();
    void Unmap();
    void Place();
    void Draw();
    void Configure(std::uint32_t serial);
    void Moved(Move* move);
    static void OnConfigure(void* self, zwlr_layer_surface_v1*, std::uint32_t serial,
                            std::uint32_t width, std::uint32_t height);
    static void OnClosed(void* self, zwlr_layer_surface_v1*);
    static void OnMoved(void* move, wl_callback*, std::uint32_t);
    static const zwlr_layer_surface_v1_listener kLayerListener;
    static const wl_callback_listener kMovedListener;

    Context& context_;
    WindowListener& listener_;
    WindowKind kind_;
    std::uintptr_t id_;
    TRect bounds_;
    bool visible_ = false;
    Owned<wl_surface> surface_;
    Owned<zwlr_layer_surface_v1> layer_;
    const wl_output* output_ = nullptr;
    TRect outputRect_;
    int scale_ = 1;
    bool configured_ = false;
    bool drawWaiting_ = false;  // a picture waits for a free buffer
    gfx::TSurface picture_;     // the latest presented picture, logical pixels
    bool hasPicture_ = false;
    std::vector<std::unique_ptr<ShmBuffer>> buffers_;
    TPoint shownOrigin_;
    std::list<std::unique_ptr<Move>> moves_;  // commits of new places, oldest first
};

}  // namespace platform::wayland
