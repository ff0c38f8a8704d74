// A picture the compositor reads: a wl_buffer over shared memory (memfd),
// XRGB8888, the GUI layer's pixel layout. Busy from attaching until the
// compositor releases it; a busy buffer is never written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "gfx/Surface.h"
#include "platform/wayland/WaylandHandles.h"

namespace platform::wayland {

class ShmBuffer {
public:
    // Throws std::runtime_error when the memory cannot be had.
    // `released` runs when the compositor gives the buffer back.
    ShmBuffer(wl_shm* shm, int width, int height, std::function<void()> released);
    ~ShmBuffer();
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Busy() const { return busy_; }
    gfx::TPixel* Row(int y) { return pixels_ + std::size_t(y) * std::size_t(width_); }
    // Marks the buffer busy and gives it for wl_surface.attach.
    wl_buffer* Attach();

private:
    static void OnRelease(void* self, wl_buffer* buffer);
    static const wl_buffer_listener kListener;

    int width_;
    int height_;
    std::size_t bytes_;
    gfx::TPixel* pixels_ = nullptr;
    Owned<wl_buffer> buffer_;
    bool busy_ = false;
    std::function<void()> released_;
};

}  // namespace platform::wayland
