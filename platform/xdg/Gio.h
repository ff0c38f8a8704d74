// The GLib, GObject and GIO functions the Linux services call, as a table
// filled by GioLibrary when the library is loaded.
#pragma once

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace platform::xdg {

// Every GLib, GObject and GIO function the Linux services call.
#define SORIMO_GIO_FUNCTIONS(X)                \
    X(g_free)                                  \
    X(g_strfreev)                              \
    X(g_error_free)                            \
    X(g_shell_parse_argv)                      \
    X(g_spawn_error_quark)                     \
    X(g_io_error_quark)                        \
    X(g_object_unref)                          \
    X(g_type_check_instance_is_a)              \
    X(g_file_new_for_path)                     \
    X(g_file_get_uri)                          \
    X(g_content_type_guess)                    \
    X(g_content_type_get_icon)                 \
    X(g_themed_icon_get_type)                  \
    X(g_themed_icon_get_names)                 \
    X(g_desktop_app_info_new_from_filename)    \
    X(g_app_info_launch)                       \
    X(g_app_info_launch_default_for_uri)

// The functions, with the names and types the GLib headers give them.
struct Gio {
#define SORIMO_GIO_MEMBER(name) decltype(&::name) name = nullptr;
    SORIMO_GIO_FUNCTIONS(SORIMO_GIO_MEMBER)
#undef SORIMO_GIO_MEMBER

    // True when `object` is an instance of `type` (G_TYPE_CHECK_INSTANCE_TYPE).
    bool Is(gpointer object, GType type) const {
        return object && g_type_check_instance_is_a(static_cast<GTypeInstance*>(object), type);
    }
};

}  // namespace platform::xdg
