#include "platform/xdg/tray/StatusNotifierItem.h"

#include <cstring>
#include <utility>

#include "platform/xdg/tray/MainContextPoll.h"
#include "platform/xdg/tray/StatusIconPixmaps.h"

namespace platform::xdg {

namespace {

constexpr const char* kInterface = "org.kde.StatusNotifierItem";
constexpr const char* kRootPath = "/StatusNotifierItem";
constexpr std::intptr_t WM_LBUTTONDBLCLK = 0x203, WM_RBUTTONDOWN = 0x204, WM_RBUTTONUP = 0x205,
                        WM_MBUTTONDOWN = 0x207, WM_MBUTTONUP = 0x208;

bool SameIcon(const gfx::TIcon& a, const gfx::TIcon& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    if (a.Empty()) return true;
    const std::size_t pixels = std::size_t(a.Width()) * std::size_t(a.Height());
    return std::memcmp(a.Pixels().Data(), b.Pixels().Data(), pixels * sizeof(gfx::TPixel)) == 0 &&
           a.Alpha() == b.Alpha();
}

}  // namespace

const char* StatusNotifierItem::kIntrospection = R"xml(<node>
 <interface name="org.kde.StatusNotifierItem">
  <property name="Category" type="s" access="read"/>
  <property name="Id" type="s" access="read"/>
  <property name="Title" type="s" access="read"/>
  <property name="Status" type="s" access="read"/>
  <property name="WindowId" type="i" access="read"/>
  <property name="IconName" type="s" access="read"/>
  <property name="IconPixmap" type="a(iiay)" access="read"/>
  <property name="OverlayIconName" type="s" access="read"/>
  <property name="OverlayIconPixmap" type="a(iiay)" access="read"/>
  <property name="AttentionIconName" type="s" access="read"/>
  <property name="AttentionIconPixmap" type="a(iiay)" access="read"/>
  <property name="AttentionMovieName" type="s" access="read"/>
  <property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
  <property name="ItemIsMenu" type="b" access="read"/>
  <property name="Menu" type="o" access="read"/>
  <method name="ContextMenu"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="Activate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="SecondaryActivate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="Scroll"><arg name="delta" type="i" direction="in"/><arg name="orientation" type="s" direction="in"/></method>
  <signal name="NewTitle"/>
  <signal name="NewIcon"/>
  <signal name="NewAttentionIcon"/>
  <signal name="NewOverlayIcon"/>
  <signal name="NewToolTip"/>
  <signal name="NewStatus"><arg name="status" type="s"/></signal>
 </interface>
</node>)xml";

StatusNotifierItem::StatusNotifierItem(const Gio& gio, MainContextPoll& loop,
                                       GDBusConnection* connection, GDBusInterfaceInfo* interface,
                                       std::string path, const NotifyIconData& record,
                                       Notify notify)
    : gio_(gio), loop_(loop), connection_(connection), path_(std::move(path)), record_(record),
      notify_(std::move(notify)), pictures_(gio, loop, connection) {
    // No property function: the property calls come to MethodCall, which
    // answers those that carry pictures one at a time (PacedReplies).
    static const GDBusInterfaceVTable vtable = [] {
        GDBusInterfaceVTable t{};
        t.method_call = &StatusNotifierItem::MethodCall;
        return t;
    }();
    for (GDBusPropertyInfo** p = interface->properties; p && *p; ++p) propertyNames_.emplace_back((*p)->name);
    MainContextPoll::Default calls(loop_);
    registration_ = gio_.g_dbus_connection_register_object(connection_, path_.c_str(), interface,
                                                           &vtable, this, nullptr, nullptr);
}

StatusNotifierItem::~StatusNotifierItem() {
    if (registration_) gio_.g_dbus_connection_unregister_object(connection_, registration_);
}

void StatusNotifierItem::Register() {
    if (!registration_) return;
    // The root object is found by the connection's name alone; any other
    // is given by its path (the watcher takes the caller's name with it).
    const char* unique = gio_.g_dbus_connection_get_unique_name(connection_);
    const std::string service = path_ == kRootPath && unique ? std::string(unique) : path_;
    MainContextPoll::Default calls(loop_);
    gio_.g_dbus_connection_call(connection_, "org.kde.StatusNotifierWatcher",
                                "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher",
                                "RegisterStatusNotifierItem",
                                gio_.g_variant_new("(s)", service.c_str()), nullptr,
                                G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr, nullptr);
}

void StatusNotifierItem::Update(const NotifyIconData& record) {
    const bool icon = !SameIcon(record.Icon, record_.Icon);
    const bool tip = record.szTip != record_.szTip;
    record_ = record;
    if (icon) {
        iconPixmaps_.reset();
        Emit("NewIcon");
    }
    if (tip) {
        Emit("NewTitle");
        Emit("NewToolTip");
    }
}

void StatusNotifierItem::Emit(const char* signal) {
    gio_.g_dbus_connection_emit_signal(connection_, nullptr, path_.c_str(), kInterface, signal,
                                       nullptr, nullptr);
}

// ------------------------------------------------------------ the panel's calls

void StatusNotifierItem::MethodCall(GDBusConnection*, const gchar*, const gchar*, const gchar* interface,
                                    const gchar* method, GVariant* parameters,
                                    GDBusMethodInvocation* invocation, gpointer self) {
    auto* item = static_cast<StatusNotifierItem*>(self);
    if (std::strcmp(interface, "org.freedesktop.DBus.Properties") == 0) {
        item->PropertyCall(method, parameters, invocation);
        return;
    }
    item->gio_.g_dbus_method_invocation_return_value(invocation, nullptr);
    item->Call(method, parameters);
}

// Get and GetAll; the item has no property to set. The answers that carry
// the icon's pictures wait their turn, the others go at once.
void StatusNotifierItem::PropertyCall(const std::string& method, GVariant* parameters,
                                      GDBusMethodInvocation* invocation) {
    if (method == "Get") {
        const gchar* interface = nullptr;
        const gchar* name = nullptr;
        gio_.g_variant_get(parameters, "(&s&s)", &interface, &name);
        const std::string property = name;
        const auto answer = [this, property] { return gio_.g_variant_new("(v)", Property(property)); };
        if (property == "IconPixmap")
            pictures_.Add(invocation, answer);
        else
            gio_.g_dbus_method_invocation_return_value(invocation, answer());
    } else if (method == "GetAll") {
        pictures_.Add(invocation, [this] { return AllProperties(); });
    } else {
        gio_.g_dbus_method_invocation_return_dbus_error(invocation, "org.freedesktop.DBus.Error.PropertyReadOnly",
                                                        "the item's properties are read-only");
    }
}

GVariant* StatusNotifierItem::AllProperties() const {
    GVariantBuilder builder;
    gio_.g_variant_builder_init(&builder, Gio::Type("a{sv}"));
    for (const std::string& name : propertyNames_)
        gio_.g_variant_builder_add_value(&builder, gio_.g_variant_new("{sv}", name.c_str(), Property(name)));
    return gio_.g_variant_new("(@a{sv})", gio_.g_variant_builder_end(&builder));
}

// Each request becomes the mouse messages a click in a classic tray gives:
// an activation is the left double click that brings a window back, the
// context-menu request a right click, the secondary activation a middle
// click. Scrolling means nothing to the icon.
void StatusNotifierItem::Call(const std::string& method, GVariant* parameters) {
    if (method == "Scroll") return;
    gint32 x = 0, y = 0;
    gio_.g_variant_get(parameters, "(ii)", &x, &y);
    const TPoint at{x, y};
    if (method == "Activate") {
        notify_(record_, WM_LBUTTONDBLCLK, at);
    } else if (method == "ContextMenu") {
        notify_(record_, WM_RBUTTONDOWN, at);
        notify_(record_, WM_RBUTTONUP, at);
    } else if (method == "SecondaryActivate") {
        notify_(record_, WM_MBUTTONDOWN, at);
        notify_(record_, WM_MBUTTONUP, at);
    }
}

// ------------------------------------------------------------ properties

GVariant* StatusNotifierItem::Text(const std::string& text) const {
    return gio_.g_variant_new("s", TakeString(gio_, gio_.g_utf8_make_valid(text.c_str(), gssize(text.size()))).c_str());
}

GVariant* StatusNotifierItem::Pixmaps(bool withIcon) const {
    GVariantBuilder builder;
    gio_.g_variant_builder_init(&builder, Gio::Type("a(iiay)"));
    if (withIcon)
        for (const StatusIconPixmap& p : StatusIconPixmaps(record_.Icon)) {
            GVariant* bytes = gio_.g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, p.Argb.data(),
                                                             p.Argb.size(), 1);
            gio_.g_variant_builder_add_value(
                &builder, gio_.g_variant_new("(ii@ay)", gint32(p.Width), gint32(p.Height), bytes));
        }
    return gio_.g_variant_builder_end(&builder);
}

GVariant* StatusNotifierItem::IconPixmaps() const {
    if (!iconPixmaps_) iconPixmaps_.reset(gio_.g_variant_ref_sink(Pixmaps(true)));
    return gio_.g_variant_ref(iconPixmaps_.get());
}

GVariant* StatusNotifierItem::Property(const std::string& name) const {
    if (name == "Category") return Text("ApplicationStatus");
    if (name == "Id") return Text(path_ == kRootPath ? "sorimo" : "sorimo-" + std::to_string(record_.uID));
    if (name == "Title") return Text(record_.szTip);
    if (name == "Status") return Text("Active");
    if (name == "WindowId") return gio_.g_variant_new("i", gint32(0));
    if (name == "IconPixmap") return IconPixmaps();
    if (name == "OverlayIconPixmap" || name == "AttentionIconPixmap") return Pixmaps(false);
    if (name == "ToolTip")
        return gio_.g_variant_new("(s@a(iiay)@ss)", "", Pixmaps(false), Text(record_.szTip), "");
    if (name == "ItemIsMenu") return gio_.g_variant_new("b", FALSE);
    // The icon has no menu, but panels that expect every item to name one
    // (GNOME's extension refuses an item without) get a path that offers
    // none; a click then activates the item.
    if (name == "Menu") return gio_.g_variant_new("o", "/NO_DBUSMENU");
    return Text("");  // the icon names and the movie: none
}

}  // namespace platform::xdg
