#include "platform/wayland/ShmBuffer.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/xdg/UniqueFd.h"

namespace platform::wayland {

const wl_buffer_listener ShmBuffer::kListener = {&ShmBuffer::OnRelease};

ShmBuffer::ShmBuffer(wl_shm* shm, int width, int height, std::function<void()> released)
    : width_(width), height_(height), bytes_(std::size_t(width) * std::size_t(height) * 4),
      released_(std::move(released)) {
    xdg::UniqueFd fd(memfd_create("sorimo-picture", MFD_CLOEXEC | MFD_ALLOW_SEALING));
    if (fd.Get() < 0 || ftruncate(fd.Get(), off_t(bytes_)) != 0)
        throw std::runtime_error(std::string("no shared memory for a picture: ") + std::strerror(errno));
    void* map = mmap(nullptr, bytes_, PROT_READ | PROT_WRITE, MAP_SHARED, fd.Get(), 0);
    if (map == MAP_FAILED)
        throw std::runtime_error(std::string("no shared memory for a picture: ") + std::strerror(errno));
    pixels_ = static_cast<gfx::TPixel*>(map);
    // The compositor maps the memory too: it must never shrink under it.
    fcntl(fd.Get(), F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_SEAL);
    Owned<wl_shm_pool> pool(wl_shm_create_pool(shm, fd.Get(), std::int32_t(bytes_)));
    buffer_.reset(wl_shm_pool_create_buffer(pool.get(), 0, width, height, width * 4,
                                            WL_SHM_FORMAT_XRGB8888));
    wl_buffer_add_listener(buffer_.get(), &kListener, this);
}

ShmBuffer::~ShmBuffer() {
    buffer_.reset();
    munmap(pixels_, bytes_);
}

wl_buffer* ShmBuffer::Attach() {
    busy_ = true;
    return buffer_.get();
}

void ShmBuffer::OnRelease(void* data, wl_buffer*) {
    auto* self = static_cast<ShmBuffer*>(data);
    self->busy_ = false;
    if (self->released_) self->released_();
}

}  // namespace platform::wayland
