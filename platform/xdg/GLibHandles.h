// Owning wrappers for the GLib and GIO values the Linux services use, so
// that every reference is released on every path, exceptions included. They
// release through the loaded library's functions.
#pragma once

#include <memory>
#include <string>

#include "platform/xdg/Gio.h"
#include "platform/xdg/GioLibrary.h"

namespace platform::xdg {

struct GObjectUnref {
    const Gio* gio;
    void operator()(gpointer object) const { gio->g_object_unref(object); }
};
struct GStrvFree {
    const Gio* gio;
    void operator()(gchar** strings) const { gio->g_strfreev(strings); }
};

struct GVariantUnref {
    const Gio* gio;
    void operator()(GVariant* value) const { gio->g_variant_unref(value); }
};

// A bus connection of ours: closed, then released.
struct GDBusConnectionClose {
    const Gio* gio;
    void operator()(GDBusConnection* connection) const {
        gio->g_dbus_connection_close(connection, nullptr, nullptr, nullptr);
        gio->g_object_unref(connection);
    }
};
struct GDBusNodeInfoUnref {
    const Gio* gio;
    void operator()(GDBusNodeInfo* node) const { gio->g_dbus_node_info_unref(node); }
};

template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;
using GStrvPtr = std::unique_ptr<gchar*, GStrvFree>;
using GVariantPtr = std::unique_ptr<GVariant, GVariantUnref>;
using GDBusConnectionPtr = std::unique_ptr<GDBusConnection, GDBusConnectionClose>;
using GDBusNodeInfoPtr = std::unique_ptr<GDBusNodeInfo, GDBusNodeInfoUnref>;

inline GVariantPtr OwnVariant(const Gio& gio, GVariant* value) { return GVariantPtr(value, GVariantUnref{&gio}); }

template <typename T>
GObjectPtr<T> OwnObject(const Gio& gio, T* object) {
    return GObjectPtr<T>(object, GObjectUnref{&gio});
}

// A GError out-parameter: pass Out() to the call, then test the slot.
class GErrorSlot {
public:
    explicit GErrorSlot(const Gio& gio) : gio_(gio) {}
    ~GErrorSlot() {
        if (error_) gio_.g_error_free(error_);
    }
    GErrorSlot(const GErrorSlot&) = delete;
    GErrorSlot& operator=(const GErrorSlot&) = delete;

    GError** Out() { return &error_; }
    explicit operator bool() const { return error_ != nullptr; }
    const GError* operator->() const { return error_; }

private:
    const Gio& gio_;
    GError* error_ = nullptr;
};

// Takes a string GLib handed over and frees it; null reads as "".
inline std::string TakeString(const Gio& gio, gchar* owned) {
    const std::unique_ptr<gchar, decltype(gio.g_free)> holder(owned, gio.g_free);
    return owned ? std::string(owned) : std::string();
}

}  // namespace platform::xdg
