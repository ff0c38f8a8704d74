#include "platform/wayland/WaylandOutputs.h"

#include <algorithm>

#include "platform/wayland/WaylandConversions.h"

namespace platform::wayland {

namespace {
using Output = WaylandOutputs::Output;

void OnGeometry(void* data, wl_output*, std::int32_t x, std::int32_t y, std::int32_t, std::int32_t,
                std::int32_t, const char*, const char*, std::int32_t) {
    static_cast<Output*>(data)->Position = {x, y};
}

void OnMode(void* data, wl_output*, std::uint32_t flags, std::int32_t width, std::int32_t height,
            std::int32_t) {
    if (flags & WL_OUTPUT_MODE_CURRENT) static_cast<Output*>(data)->Mode = {width, height};
}

void OnDone(void* data, wl_output*) {
    auto* output = static_cast<Output*>(data);
    output->Owner->Done(*output);
}

void OnScale(void* data, wl_output*, std::int32_t factor) {
    static_cast<Output*>(data)->PendingScale = std::clamp(factor, 1, 8);
}

void OnName(void*, wl_output*, const char*) {}
void OnDescription(void*, wl_output*, const char*) {}

const wl_output_listener kOutputListener = {OnGeometry, OnMode, OnDone, OnScale, OnName, OnDescription};

void OnLogicalPosition(void* data, zxdg_output_v1*, std::int32_t x, std::int32_t y) {
    auto* output = static_cast<Output*>(data);
    output->LogicalPosition = {x, y};
    output->HasLogicalPosition = true;
}

void OnLogicalSize(void* data, zxdg_output_v1*, std::int32_t width, std::int32_t height) {
    auto* output = static_cast<Output*>(data);
    output->LogicalSize = {width, height};
    output->HasLogicalSize = true;
}

// Version 3 leaves the end of a change to wl_output.done; before it this
// event ended it.
void OnLogicalDone(void* data, zxdg_output_v1* logical) {
    auto* output = static_cast<Output*>(data);
    if (zxdg_output_v1_get_version(logical) < 3) output->Owner->Done(*output);
}

void OnLogicalName(void*, zxdg_output_v1*, const char*) {}
void OnLogicalDescription(void*, zxdg_output_v1*, const char*) {}

const zxdg_output_v1_listener kLogicalListener = {OnLogicalPosition, OnLogicalSize, OnLogicalDone,
                                                  OnLogicalName, OnLogicalDescription};
}  // namespace

void WaylandOutputs::SetManager(zxdg_output_manager_v1* manager) {
    manager_ = manager;
    for (auto& output : outputs_) Describe(*output);
}

void WaylandOutputs::Add(wl_registry* registry, std::uint32_t name, std::uint32_t version) {
    auto output = std::make_unique<Output>();
    output->Name = name;
    output->Owner = this;
    const std::uint32_t bound = std::min<std::uint32_t>(version, 4);
    output->Proxy.reset(static_cast<wl_output*>(
        wl_registry_bind(registry, name, &wl_output_interface, bound)));
    wl_output_add_listener(output->Proxy.get(), &kOutputListener, output.get());
    Describe(*output);
    outputs_.push_back(std::move(output));
}

void WaylandOutputs::Describe(Output& output) {
    if (!manager_ || output.Logical) return;
    output.Logical.reset(zxdg_output_manager_v1_get_xdg_output(manager_, output.Proxy.get()));
    zxdg_output_v1_add_listener(output.Logical.get(), &kLogicalListener, &output);
}

bool WaylandOutputs::Remove(std::uint32_t name) {
    auto it = std::find_if(outputs_.begin(), outputs_.end(),
                           [name](const auto& o) { return o->Name == name; });
    if (it == outputs_.end()) return false;
    outputs_.erase(it);
    if (changed_) changed_();
    return true;
}

void WaylandOutputs::Done(Output& output) {
    output.Scale = output.PendingScale;
    // Without xdg-output the logical size is the mode at the scale.
    const gfx::TPoint place = output.HasLogicalPosition ? output.LogicalPosition : output.Position;
    const gfx::TPoint size = output.HasLogicalSize
                                 ? output.LogicalSize
                                 : gfx::TPoint{output.Mode.X / output.Scale, output.Mode.Y / output.Scale};
    output.Rect = gfx::Bounds(place.X, place.Y, size.X, size.Y);
    if (changed_) changed_();
}

std::vector<gfx::TRect> WaylandOutputs::Rects() const {
    std::vector<gfx::TRect> rects;
    for (const auto& output : outputs_)
        if (!output->Rect.IsEmpty()) rects.push_back(output->Rect);
    return rects;
}

const Output* WaylandOutputs::OutputFor(const gfx::TRect& bounds) const {
    std::vector<const Output*> described;
    std::vector<gfx::TRect> rects;
    for (const auto& output : outputs_) {
        if (output->Rect.IsEmpty()) continue;
        described.push_back(output.get());
        rects.push_back(output->Rect);
    }
    if (described.empty()) return nullptr;
    return described[wayland::OutputFor(rects, bounds)];
}

const Output* WaylandOutputs::Find(const wl_output* proxy) const {
    for (const auto& output : outputs_)
        if (output->Proxy.get() == proxy) return output.get();
    return nullptr;
}

}  // namespace platform::wayland
