#include "platform/wayland/WaylandWindow.h"

#include <algorithm>

namespace platform::wayland {

// A commit of a new place, followed by a sync: once its done arrives, every
// event sent before the compositor took the commit has been read, and the
// ones after it are relative to the new place.
struct WaylandWindow::Move {
    WaylandWindow* window;
    TPoint origin;
    Owned<wl_callback> callback;
};

const zwlr_layer_surface_v1_listener WaylandWindow::kLayerListener = {&WaylandWindow::OnConfigure,
                                                                      &WaylandWindow::OnClosed};
const wl_callback_listener WaylandWindow::kMovedListener = {&WaylandWindow::OnMoved};

namespace {

std::uint32_t LayerOf(WindowKind kind) {
    return kind == WindowKind::Main ? ZWLR_LAYER_SHELL_V1_LAYER_TOP : ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY;
}

// Boxes take the keyboard while shown, so that Escape and Return reach them.
std::uint32_t KeyboardOf(WindowKind kind) {
    return kind == WindowKind::Dialog ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE
                                      : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE;
}

std::uint32_t Positive(int v) { return std::uint32_t(std::max(v, 1)); }

}  // namespace

WaylandWindow::WaylandWindow(Context& context, const WindowSpec& spec, WindowListener& listener,
                             std::uintptr_t id)
    : context_(context), listener_(listener), kind_(spec.Kind), id_(id), bounds_(spec.Bounds) {}

WaylandWindow::~WaylandWindow() { Unmap(); }

void WaylandWindow::SetBounds(const TRect& screenRect) {
    if (screenRect == bounds_) return;
    bounds_ = screenRect;
    if (visible_) Place();
}

void WaylandWindow::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (visible) Map();
    else Unmap();
}

void WaylandWindow::Map() {
    const WaylandOutputs::Output* output = context_.outputs->OutputFor(bounds_);
    if (!output) return;  // no output yet: shown when one comes (OutputsChanged)
    output_ = output->Proxy.get();
    outputRect_ = output->Rect;
    scale_ = output->Scale;
    surface_.reset(wl_compositor_create_surface(context_.compositor));
    context_.attach(surface_.get(), this);
    wl_surface_set_buffer_scale(surface_.get(), scale_);
    layer_.reset(zwlr_layer_shell_v1_get_layer_surface(context_.layerShell, surface_.get(),
                                                       output->Proxy.get(), LayerOf(kind_), "sorimo"));
    zwlr_layer_surface_v1_add_listener(layer_.get(), &kLayerListener, this);
    zwlr_layer_surface_v1_set_anchor(layer_.get(), ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP |
                                                       ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT);
    // Placed against the output's edges, also where a panel reserves space.
    zwlr_layer_surface_v1_set_exclusive_zone(layer_.get(), -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(layer_.get(), KeyboardOf(kind_));
    // Tooltip windows take input as on X11: the tray's popup menu is one,
    // and the hint opens beside the pointer, never under it.
    configured_ = false;
    moves_.clear();
    shownOrigin_ = TPoint{bounds_.Left, bounds_.Top};
    Place();
}

void WaylandWindow::Unmap() {
    moves_.clear();
    layer_.reset();
    if (surface_) context_.detach(surface_.get());
    surface_.reset();
    output_ = nullptr;
    configured_ = false;
    drawWaiting_ = false;
}

void WaylandWindow::Place() {
    const WaylandOutputs::Output* output = context_.outputs->OutputFor(bounds_);
    if (!output) return;
    if (output->Proxy.get() != output_ || output->Scale != scale_) {
        if (context_.pointerHeld) {
            // Dragged across: margins from the output it is on until the
            // release, when OutputsChanged moves it over.
            output = context_.outputs->Find(output_);
            if (!output) return;
        } else {
            // Another output, or another density: a new surface there.
            Unmap();
            Map();
            return;
        }
    }
    outputRect_ = output->Rect;
    zwlr_layer_surface_v1_set_size(layer_.get(), Positive(bounds_.Width()), Positive(bounds_.Height()));
    zwlr_layer_surface_v1_set_margin(layer_.get(), bounds_.Top - outputRect_.Top, 0, 0,
                                     bounds_.Left - outputRect_.Left);
    if (configured_) Draw();  // a new size needs a buffer of that size
    else wl_surface_commit(surface_.get());
    auto move = std::make_unique<Move>(Move{this, TPoint{bounds_.Left, bounds_.Top}, nullptr});
    move->callback.reset(wl_display_sync(context_.display));
    wl_callback_add_listener(move->callback.get(), &kMovedListener, move.get());
    moves_.push_back(std::move(move));
}

void WaylandWindow::OutputsChanged() {
    if (!visible_) return;
    if (!surface_) Map();
    else Place();
}

void WaylandWindow::Present(const gfx::TSurface& backBuffer, const TRect& area) {
    if (picture_.Width() != backBuffer.Width() || picture_.Height() != backBuffer.Height()) {
        picture_ = gfx::TSurface(backBuffer.Width(), backBuffer.Height());
        hasPicture_ = false;
    }
    const TRect r = hasPicture_ ? gfx::Intersect(area, backBuffer.BoundsRect()) : backBuffer.BoundsRect();
    for (int y = r.Top; y < r.Bottom; ++y)
        std::copy(backBuffer.Row(y) + r.Left, backBuffer.Row(y) + r.Right, picture_.Row(y) + r.Left);
    hasPicture_ = true;
    if (configured_) Draw();
}

// The whole picture into a free buffer at the scale, attached and committed
// with the surface's pending state (size, margins).
void WaylandWindow::Draw() {
    if (!surface_) return;
    if (!hasPicture_) {
        wl_surface_commit(surface_.get());
        return;
    }
    const int s = scale_;
    const int width = picture_.Width() * s, height = picture_.Height() * s;
    std::erase_if(buffers_, [&](const auto& b) {
        return !b->Busy() && (b->Width() != width || b->Height() != height);
    });
    auto free = std::find_if(buffers_.begin(), buffers_.end(), [&](const auto& b) {
        return !b->Busy() && b->Width() == width && b->Height() == height;
    });
    ShmBuffer* buffer = free == buffers_.end() ? nullptr : free->get();
    if (!buffer && buffers_.size() < 2) {
        // Drawn again from the loop: the release runs inside the buffer's own
        // event, where the buffer must not go.
        buffers_.push_back(std::make_unique<ShmBuffer>(context_.shm, width, height, [this] {
            if (drawWaiting_) context_.post(id_, [](WaylandWindow& w) { w.DrawWaiting(); });
        }));
        buffer = buffers_.back().get();
    }
    if (!buffer) {
        drawWaiting_ = true;  // both are on the screen: drawn when one comes back
        return;
    }
    drawWaiting_ = false;
    for (int y = 0; y < height; ++y) {
        gfx::TPixel* row = buffer->Row(y);
        const gfx::TPixel* source = picture_.Row(y / s);
        for (int x = 0; x < width; ++x) row[x] = source[x / s];
    }
    wl_surface_set_buffer_scale(surface_.get(), s);
    wl_surface_attach(surface_.get(), buffer->Attach(), 0, 0);
    wl_surface_damage(surface_.get(), 0, 0, picture_.Width(), picture_.Height());
    wl_surface_commit(surface_.get());
}

void WaylandWindow::DrawWaiting() {
    if (drawWaiting_ && configured_) Draw();
}

void WaylandWindow::Configure(std::uint32_t serial) {
    zwlr_layer_surface_v1_ack_configure(layer_.get(), serial);
    if (configured_) return;  // the size is ours: nothing changes
    configured_ = true;
    if (!hasPicture_) {
        const TRect all{0, 0, bounds_.Width(), bounds_.Height()};
        context_.post(id_, [all](WaylandWindow& w) { w.listener_.NativeExpose(all); });
    }
    Draw();
    if (context_.shown) context_.shown(kind_);
}

// Once the last place asked for is shown, the form's record follows it:
// input that the compositor sent before it had the move carries the old
// place, and the GUI layer takes that as where the window is (a release
// ending a quick drag would otherwise leave the record behind).
void WaylandWindow::Moved(Move* move) {
    while (!moves_.empty()) {
        const bool last = moves_.front().get() == move;
        shownOrigin_ = moves_.front()->origin;
        moves_.pop_front();
        if (last) break;
    }
    if (!moves_.empty()) return;
    const TPoint shown = shownOrigin_;
    // Handled later, in turn with the input: a move the program asked for
    // meanwhile (the next step of a drag) makes this place old news, and
    // reporting it would put the window back where it was.
    context_.post(id_, [shown](WaylandWindow& w) {
        if (w.moves_.empty() && w.PlacedOrigin() == shown) w.listener_.NativeMoved(shown);
    });
}

void WaylandWindow::OnConfigure(void* self, zwlr_layer_surface_v1*, std::uint32_t serial, std::uint32_t,
                                std::uint32_t) {
    static_cast<WaylandWindow*>(self)->Configure(serial);
}

// The compositor took the surface away (its output went): a new one is
// made where the bounds are, when the outputs change.
void WaylandWindow::OnClosed(void* self, zwlr_layer_surface_v1*) {
    auto* window = static_cast<WaylandWindow*>(self);
    window->Unmap();
}

void WaylandWindow::OnMoved(void* data, wl_callback*, std::uint32_t) {
    auto* move = static_cast<Move*>(data);
    move->window->Moved(move);
}

}  // namespace platform::wayland
