// Owners of the Wayland objects the backend makes: each proxy is destroyed
// (or released, where its version has a release request) exactly once, by
// the one owner that holds it.
#pragma once

#include <wayland-client.h>
#include <wayland-cursor.h>
#include <xkbcommon/xkbcommon.h>

#include <memory>

#include "wlr-layer-shell-unstable-v1-client.h"
#include "xdg-output-unstable-v1-client.h"

namespace platform::wayland {

struct ProxyDeleter {
    void operator()(wl_display* p) const { wl_display_disconnect(p); }
    void operator()(wl_registry* p) const { wl_registry_destroy(p); }
    void operator()(wl_compositor* p) const { wl_compositor_destroy(p); }
    void operator()(wl_shm* p) const { wl_shm_destroy(p); }
    void operator()(wl_shm_pool* p) const { wl_shm_pool_destroy(p); }
    void operator()(wl_buffer* p) const { wl_buffer_destroy(p); }
    void operator()(wl_surface* p) const { wl_surface_destroy(p); }
    void operator()(wl_region* p) const { wl_region_destroy(p); }
    void operator()(wl_callback* p) const { wl_callback_destroy(p); }
    void operator()(wl_data_device_manager* p) const { wl_data_device_manager_destroy(p); }
    void operator()(wl_data_device* p) const {
        if (wl_data_device_get_version(p) >= WL_DATA_DEVICE_RELEASE_SINCE_VERSION) wl_data_device_release(p);
        else wl_data_device_destroy(p);
    }
    void operator()(wl_data_offer* p) const { wl_data_offer_destroy(p); }
    void operator()(wl_output* p) const {
        if (wl_output_get_version(p) >= WL_OUTPUT_RELEASE_SINCE_VERSION) wl_output_release(p);
        else wl_output_destroy(p);
    }
    void operator()(wl_seat* p) const {
        if (wl_seat_get_version(p) >= WL_SEAT_RELEASE_SINCE_VERSION) wl_seat_release(p);
        else wl_seat_destroy(p);
    }
    void operator()(wl_pointer* p) const {
        if (wl_pointer_get_version(p) >= WL_POINTER_RELEASE_SINCE_VERSION) wl_pointer_release(p);
        else wl_pointer_destroy(p);
    }
    void operator()(wl_keyboard* p) const {
        if (wl_keyboard_get_version(p) >= WL_KEYBOARD_RELEASE_SINCE_VERSION) wl_keyboard_release(p);
        else wl_keyboard_destroy(p);
    }
    void operator()(zwlr_layer_shell_v1* p) const {
        if (zwlr_layer_shell_v1_get_version(p) >= ZWLR_LAYER_SHELL_V1_DESTROY_SINCE_VERSION)
            zwlr_layer_shell_v1_destroy(p);
        else
            wl_proxy_destroy(reinterpret_cast<wl_proxy*>(p));
    }
    void operator()(zwlr_layer_surface_v1* p) const { zwlr_layer_surface_v1_destroy(p); }
    void operator()(zxdg_output_manager_v1* p) const { zxdg_output_manager_v1_destroy(p); }
    void operator()(zxdg_output_v1* p) const { zxdg_output_v1_destroy(p); }
    void operator()(wl_cursor_theme* p) const { wl_cursor_theme_destroy(p); }
    void operator()(xkb_context* p) const { xkb_context_unref(p); }
    void operator()(xkb_keymap* p) const { xkb_keymap_unref(p); }
    void operator()(xkb_state* p) const { xkb_state_unref(p); }
};

template <class T>
using Owned = std::unique_ptr<T, ProxyDeleter>;

}  // namespace platform::wayland
