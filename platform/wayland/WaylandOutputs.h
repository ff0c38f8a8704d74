// The compositor's outputs: each one's place and size in the global
// logical layout (xdg-output, else the output's own position and mode at
// its scale) and its whole-number scale. The first output announced is the
// primary one: Wayland names none.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gfx/Types.h"
#include "platform/wayland/WaylandHandles.h"

namespace platform::wayland {

class WaylandOutputs {
public:
    struct Output {
        std::uint32_t Name = 0;  // the registry's name of the global
        Owned<wl_output> Proxy;
        Owned<zxdg_output_v1> Logical;
        gfx::TRect Rect;  // logical pixels of the global layout
        int Scale = 1;
        // What the events said before the output's done.
        gfx::TPoint Position, LogicalPosition;
        gfx::TPoint Mode, LogicalSize;
        bool HasLogicalPosition = false, HasLogicalSize = false;
        int PendingScale = 1;
        WaylandOutputs* Owner = nullptr;
    };

    // `changed` runs when an output came, went, moved, changed size or scale.
    explicit WaylandOutputs(std::function<void()> changed) : changed_(std::move(changed)) {}
    WaylandOutputs(const WaylandOutputs&) = delete;
    WaylandOutputs& operator=(const WaylandOutputs&) = delete;

    void SetManager(zxdg_output_manager_v1* manager);
    void Add(wl_registry* registry, std::uint32_t name, std::uint32_t version);
    // True when the global was one of the outputs.
    bool Remove(std::uint32_t name);

    // The outputs' rectangles, the primary one first; empty before the first
    // output is known.
    std::vector<gfx::TRect> Rects() const;
    std::size_t Count() const { return outputs_.size(); }
    wl_output* ProxyAt(std::size_t i) const { return outputs_[i]->Proxy.get(); }
    const gfx::TRect& RectAt(std::size_t i) const { return outputs_[i]->Rect; }
    int ScaleAt(std::size_t i) const { return outputs_[i]->Scale; }
    // The output of a proxy, or nothing.
    const Output* Find(const wl_output* output) const;
    // The output a window at `bounds` goes on (see OutputFor), or nothing
    // while no output has been described.
    const Output* OutputFor(const gfx::TRect& bounds) const;

    // Called by the event handlers.
    void Done(Output& output);

private:
    void Describe(Output& output);

    std::function<void()> changed_;
    zxdg_output_manager_v1* manager_ = nullptr;
    std::vector<std::unique_ptr<Output>> outputs_;
};

}  // namespace platform::wayland
