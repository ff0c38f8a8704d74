// The GLib, GObject and GIO functions the Linux services call, as a table
// filled by GioLibrary when the library is loaded: file types and launching,
// and the session bus (GDBus, GVariant values, a main context that the
// backend's own poll loop drives).
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
    X(g_app_info_launch_default_for_uri)       \
    X(g_main_context_new)                      \
    X(g_main_context_unref)                    \
    X(g_main_context_acquire)                  \
    X(g_main_context_release)                  \
    X(g_main_context_push_thread_default)      \
    X(g_main_context_pop_thread_default)       \
    X(g_main_context_prepare)                  \
    X(g_main_context_query)                    \
    X(g_main_context_check)                    \
    X(g_main_context_dispatch)                 \
    X(g_main_context_iteration)                \
    X(g_variant_new)                           \
    X(g_variant_new_fixed_array)               \
    X(g_variant_builder_init)                  \
    X(g_variant_builder_add_value)             \
    X(g_variant_builder_end)                   \
    X(g_variant_get)                           \
    X(g_variant_ref)                           \
    X(g_variant_ref_sink)                      \
    X(g_variant_unref)                         \
    X(g_cancellable_new)                       \
    X(g_cancellable_cancel)                    \
    X(g_dbus_connection_new_for_address)       \
    X(g_dbus_connection_new_for_address_finish) \
    X(g_dbus_connection_set_exit_on_close)     \
    X(g_dbus_connection_get_unique_name)       \
    X(g_dbus_connection_close)                 \
    X(g_dbus_connection_register_object)       \
    X(g_dbus_connection_unregister_object)     \
    X(g_dbus_connection_emit_signal)           \
    X(g_dbus_connection_call)                  \
    X(g_dbus_node_info_new_for_xml)            \
    X(g_dbus_node_info_unref)                  \
    X(g_dbus_method_invocation_return_value)   \
    X(g_dbus_method_invocation_return_dbus_error) \
    X(g_dbus_connection_flush)                 \
    X(g_dbus_connection_flush_finish)          \
    X(g_bus_watch_name_on_connection)          \
    X(g_bus_unwatch_name)                      \
    X(g_utf8_make_valid)                       \
    X(g_thread_pool_set_max_idle_time)         \
    X(g_dbus_connection_call_finish)           \
    X(g_dbus_connection_signal_subscribe)      \
    X(g_dbus_connection_signal_unsubscribe)    \
    X(g_variant_is_of_type)

// The functions, with the names and types the GLib headers give them.
struct Gio {
#define SORIMO_GIO_MEMBER(name) decltype(&::name) name = nullptr;
    SORIMO_GIO_FUNCTIONS(SORIMO_GIO_MEMBER)
#undef SORIMO_GIO_MEMBER

    // True when `object` is an instance of `type` (G_TYPE_CHECK_INSTANCE_TYPE).
    bool Is(gpointer object, GType type) const {
        return object && g_type_check_instance_is_a(static_cast<GTypeInstance*>(object), type);
    }

    // G_VARIANT_TYPE without the checking function it calls in debug builds.
    static const GVariantType* Type(const char* typeString) {
        return reinterpret_cast<const GVariantType*>(typeString);
    }
};

}  // namespace platform::xdg
