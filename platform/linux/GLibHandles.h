// Owning wrappers for the GLib and GIO values the Linux services use, so
// that every reference is released on every path, exceptions included.
#pragma once

#include <gio/gio.h>

#include <memory>
#include <string>

namespace platform::xdg {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct GKeyFileUnref {
    void operator()(GKeyFile* file) const { g_key_file_unref(file); }
};
struct GStrvFree {
    void operator()(gchar** strings) const { g_strfreev(strings); }
};

template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;
using GKeyFilePtr = std::unique_ptr<GKeyFile, GKeyFileUnref>;
using GStrvPtr = std::unique_ptr<gchar*, GStrvFree>;

// A GError out-parameter: pass Out() to the call, then test the slot.
class GErrorSlot {
public:
    GErrorSlot() = default;
    ~GErrorSlot() {
        if (error_) g_error_free(error_);
    }
    GErrorSlot(const GErrorSlot&) = delete;
    GErrorSlot& operator=(const GErrorSlot&) = delete;

    GError** Out() { return &error_; }
    explicit operator bool() const { return error_ != nullptr; }
    const GError* operator->() const { return error_; }

private:
    GError* error_ = nullptr;
};

// Takes a string GLib handed over and frees it; null reads as "".
inline std::string TakeString(gchar* owned) {
    const std::unique_ptr<gchar, decltype(&g_free)> holder(owned, &g_free);
    return owned ? std::string(owned) : std::string();
}

}  // namespace platform::xdg
