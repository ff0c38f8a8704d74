#include "platform/xdg/tray/StatusNotifierArea.h"

#include <sys/stat.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "platform/xdg/Gio.h"
#include "platform/xdg/tray/MainContextPoll.h"
#include "platform/xdg/tray/StatusNotifierItem.h"

namespace platform::xdg {

namespace {
constexpr const char* kWatcher = "org.kde.StatusNotifierWatcher";
constexpr const char* kRootPath = "/StatusNotifierItem";
// Panels that draw items own a name of this form while they run.
constexpr const char* kHostPrefix = "org.kde.StatusNotifierHost-";

bool IsHostName(const char* name) {
    return name && std::string(name).rfind(kHostPrefix, 0) == 0;
}

// Outlives the bus when the connection is still being made as the bus
// goes: the callback then only drops what it got.
struct ConnectRequest {
    StatusNotifierArea* Area;
    const Gio* Functions;
};
}  // namespace

// The connection, the watch on the watcher's name and the items.
struct StatusNotifierArea::Bus {
    Bus(const Gio& functions, Notify notify) : gio(functions), loop(functions), notify(std::move(notify)) {}
    ~Bus();

    void Connect(const std::string& address, StatusNotifierArea* area);
    static void Connected(GObject*, GAsyncResult* result, gpointer data);
    void OnConnected(GDBusConnectionPtr made);
    static void Appeared(GDBusConnection*, const gchar*, const gchar*, gpointer self);
    static void Vanished(GDBusConnection*, const gchar*, gpointer self);
    void AskForHost();
    static void HostsChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                             const gchar*, GVariant*, gpointer self);
    static void HostAnswer(GObject* source, GAsyncResult* result, gpointer self);
    static void NamesAnswer(GObject* source, GAsyncResult* result, gpointer self);
    static void OwnerChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                             const gchar*, GVariant* parameters, gpointer self);
    void Decide();
    std::string FreePath() const;

    const Gio& gio;
    MainContextPoll loop;
    Notify notify;
    WatcherState state = WatcherState::Unknown;
    ConnectRequest* request = nullptr;  // owned by the pending callback
    GObjectPtr<GCancellable> cancellable{nullptr, GObjectUnref{&gio}};
    GDBusConnectionPtr connection{nullptr, GDBusConnectionClose{&gio}};
    GDBusNodeInfoPtr node{nullptr, GDBusNodeInfoUnref{&gio}};
    guint watch = 0;
    guint hostSignals = 0;
    guint ownerSignals = 0;
    bool watched = false;  // the watcher's name has an owner
    // The watcher's word that a host registered, the hosts' names alive on
    // the bus, and whether one was ever seen while this watcher runs: a
    // watcher that outlives its panel (Plasma's runs in another process)
    // still says a host is registered, but the panel's name is gone. A
    // watcher that is its panel's own owns no such name and is believed.
    bool registered = false;
    std::set<std::string> hosts;
    bool hostsSeen = false;
    std::map<std::uint32_t, std::unique_ptr<StatusNotifierItem>> items;
};

// The owners close the connection and release the interface description and
// the cancellable after this.
StatusNotifierArea::Bus::~Bus() {
    items.clear();
    if (request) {
        request->Area = nullptr;
        gio.g_cancellable_cancel(cancellable.get());
    }
    if (hostSignals) gio.g_dbus_connection_signal_unsubscribe(connection.get(), hostSignals);
    if (ownerSignals) gio.g_dbus_connection_signal_unsubscribe(connection.get(), ownerSignals);
    if (watch) gio.g_bus_unwatch_name(watch);
}

void StatusNotifierArea::Bus::Connect(const std::string& address, StatusNotifierArea* area) {
    // The connection is made on a thread of GLib's pool, which would wake
    // 15 s later to end: idle pool threads sleep until work comes instead.
    gio.g_thread_pool_set_max_idle_time(0);
    cancellable.reset(gio.g_cancellable_new());
    request = std::make_unique<ConnectRequest>(ConnectRequest{area, &gio}).release();
    MainContextPoll::Default calls(loop);
    gio.g_dbus_connection_new_for_address(
        address.c_str(),
        GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                             G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, cancellable.get(), &Bus::Connected, request);
}

void StatusNotifierArea::Bus::Connected(GObject*, GAsyncResult* result, gpointer data) {
    std::unique_ptr<ConnectRequest> request(static_cast<ConnectRequest*>(data));
    GDBusConnectionPtr made(request->Functions->g_dbus_connection_new_for_address_finish(result, nullptr),
                            GDBusConnectionClose{request->Functions});
    if (!request->Area) return;
    Bus& bus = *request->Area->bus_;
    bus.request = nullptr;
    bus.OnConnected(std::move(made));
}

void StatusNotifierArea::Bus::OnConnected(GDBusConnectionPtr made) {
    if (!made) {
        state = WatcherState::Absent;
        return;
    }
    connection = std::move(made);
    // A bus that goes away ends the watcher's name, not the program.
    gio.g_dbus_connection_set_exit_on_close(connection.get(), FALSE);
    node.reset(gio.g_dbus_node_info_new_for_xml(StatusNotifierItem::kIntrospection, nullptr));
    MainContextPoll::Default calls(loop);
    hostSignals = gio.g_dbus_connection_signal_subscribe(
        connection.get(), nullptr, kWatcher, nullptr, "/StatusNotifierWatcher", nullptr,
        G_DBUS_SIGNAL_FLAGS_NONE, &Bus::HostsChanged, this, nullptr);
    ownerSignals = gio.g_dbus_connection_signal_subscribe(
        connection.get(), "org.freedesktop.DBus", "org.freedesktop.DBus", "NameOwnerChanged",
        "/org/freedesktop/DBus", "org.kde", G_DBUS_SIGNAL_FLAGS_MATCH_ARG0_NAMESPACE,
        &Bus::OwnerChanged, this, nullptr);
    watch = gio.g_bus_watch_name_on_connection(connection.get(), kWatcher, G_BUS_NAME_WATCHER_FLAGS_NONE,
                                               &Bus::Appeared, &Bus::Vanished, this, nullptr);
}

void StatusNotifierArea::Bus::Appeared(GDBusConnection*, const gchar*, const gchar*, gpointer self) {
    auto* bus = static_cast<Bus*>(self);
    bus->watched = true;
    bus->state = WatcherState::Unknown;
    bus->hosts.clear();
    bus->hostsSeen = false;
    bus->AskForHost();
    // A new watcher knows nothing of the items shown before.
    for (auto& [id, item] : bus->items) item->Register();
}

void StatusNotifierArea::Bus::Vanished(GDBusConnection*, const gchar*, gpointer self) {
    auto* bus = static_cast<Bus*>(self);
    bus->watched = false;
    bus->state = WatcherState::Absent;
}

// A watcher alone shows nothing: a panel (a host) must have registered with
// it. Another desktop's watcher can run without one, and an icon given to
// it would be invisible, with no way to bring a hidden window back.
void StatusNotifierArea::Bus::AskForHost() {
    MainContextPoll::Default calls(loop);
    gio.g_dbus_connection_call(connection.get(), "org.freedesktop.DBus", "/org/freedesktop/DBus",
                               "org.freedesktop.DBus", "ListNames", nullptr, Gio::Type("(as)"),
                               G_DBUS_CALL_FLAGS_NONE, -1, nullptr, &Bus::NamesAnswer, this);
    gio.g_dbus_connection_call(connection.get(), kWatcher, "/StatusNotifierWatcher",
                               "org.freedesktop.DBus.Properties", "Get",
                               gio.g_variant_new("(ss)", kWatcher, "IsStatusNotifierHostRegistered"),
                               Gio::Type("(v)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr,
                               &Bus::HostAnswer, this);
}

void StatusNotifierArea::Bus::HostsChanged(GDBusConnection*, const gchar*, const gchar*,
                                           const gchar*, const gchar* signal, GVariant*,
                                           gpointer self) {
    auto* bus = static_cast<Bus*>(self);
    const std::string name = signal;
    if (bus->watched && (name == "StatusNotifierHostRegistered" || name == "StatusNotifierHostUnregistered"))
        bus->AskForHost();
}

void StatusNotifierArea::Bus::HostAnswer(GObject* source, GAsyncResult* result, gpointer self) {
    auto* bus = static_cast<Bus*>(self);
    const Gio& gio = bus->gio;
    const GVariantPtr reply = OwnVariant(
        gio, gio.g_dbus_connection_call_finish(reinterpret_cast<GDBusConnection*>(source), result, nullptr));
    if (!bus->watched) return;
    // A watcher that cannot say is taken at its word.
    gboolean registered = TRUE;
    if (reply) {
        GVariant* boxed = nullptr;
        gio.g_variant_get(reply.get(), "(v)", &boxed);
        const GVariantPtr value = OwnVariant(gio, boxed);
        if (value && gio.g_variant_is_of_type(value.get(), G_VARIANT_TYPE_BOOLEAN))
            gio.g_variant_get(value.get(), "b", &registered);
    }
    bus->registered = registered;
    bus->Decide();
}

// The names on the bus, asked before the watcher's word (the answers come
// in that order): the hosts that run already.
void StatusNotifierArea::Bus::NamesAnswer(GObject* source, GAsyncResult* result, gpointer self) {
    auto* bus = static_cast<Bus*>(self);
    const Gio& gio = bus->gio;
    const GVariantPtr reply = OwnVariant(
        gio, gio.g_dbus_connection_call_finish(reinterpret_cast<GDBusConnection*>(source), result, nullptr));
    if (!reply) return;
    gchar** list = nullptr;
    gio.g_variant_get(reply.get(), "(^as)", &list);
    const GStrvPtr names(list, GStrvFree{&gio});
    for (gchar** name = list; name && *name; ++name)
        if (IsHostName(*name)) {
            bus->hosts.insert(*name);
            bus->hostsSeen = true;
        }
}

void StatusNotifierArea::Bus::OwnerChanged(GDBusConnection*, const gchar*, const gchar*,
                                           const gchar*, const gchar*, GVariant* parameters,
                                           gpointer self) {
    auto* bus = static_cast<Bus*>(self);
    const gchar *name = nullptr, *oldOwner = nullptr, *newOwner = nullptr;
    bus->gio.g_variant_get(parameters, "(&s&s&s)", &name, &oldOwner, &newOwner);
    if (!IsHostName(name)) return;
    if (newOwner && *newOwner) {
        bus->hosts.insert(name);
        bus->hostsSeen = true;
    } else {
        bus->hosts.erase(name);
    }
    if (bus->watched && bus->state != WatcherState::Unknown) bus->Decide();
}

// Items are shown while the watcher says a host registered and, once a
// host's name was seen, while one such name is alive.
void StatusNotifierArea::Bus::Decide() {
    const bool drawn = registered && (!hostsSeen || !hosts.empty());
    state = drawn ? WatcherState::Present : WatcherState::Absent;
}

std::string StatusNotifierArea::Bus::FreePath() const {
    auto used = [this](const std::string& path) {
        for (const auto& [id, item] : items)
            if (item->Path() == path) return true;
        return false;
    };
    if (!used(kRootPath)) return kRootPath;
    for (int n = 2;; ++n)
        if (std::string path = kRootPath + std::to_string(n); !used(path)) return path;
}

// ------------------------------------------------------------ StatusNotifierArea

StatusNotifierArea::StatusNotifierArea(GioLibrary& gio, Notify notify)
    : library_(gio), notify_(std::move(notify)), address_(SessionBusAddress()),
      absentOrUnknown_(address_ ? WatcherState::Unknown : WatcherState::Absent) {}

StatusNotifierArea::~StatusNotifierArea() = default;

std::optional<std::string> StatusNotifierArea::SessionBusAddress() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address)
        return std::string(address);
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        const std::string socket = std::string(runtime) + "/bus";
        struct stat info {};
        if (stat(socket.c_str(), &info) == 0 && S_ISSOCK(info.st_mode))
            return "unix:path=" + socket;
    }
    return std::nullopt;
}

WatcherState StatusNotifierArea::State() const { return bus_ ? bus_->state : absentOrUnknown_; }

void StatusNotifierArea::Start() {
    if (started_) return;
    started_ = true;
    const Gio* gio = address_ ? library_.Get() : nullptr;
    if (!gio) {
        absentOrUnknown_ = WatcherState::Absent;
        return;
    }
    bus_ = std::make_unique<Bus>(*gio, notify_);
    bus_->Connect(*address_, this);
}

void StatusNotifierArea::Show(const NotifyIconData& record) {
    if (!bus_ || !bus_->connection || !bus_->node) return;
    Bus& bus = *bus_;
    if (auto it = bus.items.find(record.uID); it != bus.items.end()) {
        it->second->Update(record);
        return;
    }
    auto item = std::make_unique<StatusNotifierItem>(bus.gio, bus.loop, bus.connection.get(),
                                                     bus.node->interfaces[0], bus.FreePath(),
                                                     record, notify_);
    if (bus.state == WatcherState::Present) item->Register();
    bus.items[record.uID] = std::move(item);
}

void StatusNotifierArea::Update(const NotifyIconData& record) {
    if (!bus_) return;
    if (auto it = bus_->items.find(record.uID); it != bus_->items.end()) it->second->Update(record);
}

void StatusNotifierArea::Remove(std::uint32_t uID) {
    if (bus_) bus_->items.erase(uID);
}

void StatusNotifierArea::Prepare(std::vector<pollfd>& fds, int& timeoutMs) {
    if (bus_) bus_->loop.Prepare(fds, timeoutMs);
}

void StatusNotifierArea::Dispatch(const std::vector<pollfd>& fds) {
    if (bus_) bus_->loop.Dispatch(fds);
}

void StatusNotifierArea::DispatchReady() {
    if (bus_) bus_->loop.DispatchReady();
}

}  // namespace platform::xdg
