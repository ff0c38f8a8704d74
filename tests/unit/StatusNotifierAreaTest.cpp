// The StatusNotifierItem side of the notification area on a private session
// bus (dbus-daemon), with a watcher written here with GIO: registration,
// the properties a panel reads, the signals on a change, the panel's clicks.
#include <gtest/gtest.h>
#include <gio/gio.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/xdg/tray/StatusNotifierArea.h"
#include "tests/support/TempDir.h"
#include "tests/unit/LinuxServicesSupport.h"

extern char** environ;

namespace platform::xdg {
namespace {

using linux_testing::ScopedEnv;

// dbus-daemon on a socket in a temporary folder, for one test.
class PrivateBus {
public:
    explicit PrivateBus(const testing_support::TempDir& dir) {
        int out[2];
        if (pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const std::string listen = "--address=unix:path=" + dir.File("bus");
        const char* argv[] = {"dbus-daemon", "--session", "--nofork", "--print-address=1",
                              listen.c_str(), nullptr};
        if (posix_spawnp(&pid_, "dbus-daemon", &actions, nullptr, const_cast<char**>(argv), environ) != 0)
            pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        if (pid_ && linux_testing::WaitReadable(out[0], 10000)) {
            char buffer[512] = {};
            const ssize_t n = read(out[0], buffer, sizeof buffer - 1);
            if (n > 0) Address = std::string(buffer, std::size_t(n));
            while (!Address.empty() && Address.back() == '\n') Address.pop_back();
        }
        close(out[0]);
    }
    ~PrivateBus() {
        if (!pid_) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    std::string Address;  // empty when no daemon could be started

private:
    pid_t pid_ = 0;
};

// A panel's watcher: takes the watcher's name, records what registers and
// which item signals arrive, and reads the item's properties.
class TestWatcher {
public:
    explicit TestWatcher(const std::string& address, bool host = true) : host_(host) {
        connection_ = g_dbus_connection_new_for_address_sync(
            address.c_str(),
            GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                 G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        node_ = g_dbus_node_info_new_for_xml(
            "<node><interface name='org.kde.StatusNotifierWatcher'>"
            "<method name='RegisterStatusNotifierItem'><arg type='s' direction='in'/></method>"
            "<property name='IsStatusNotifierHostRegistered' type='b' access='read'/>"
            "<signal name='StatusNotifierHostRegistered'/>"
            "</interface></node>",
            nullptr);
        static const GDBusInterfaceVTable vtable = {&TestWatcher::OnCall, &TestWatcher::OnGet, nullptr, {}};
        g_dbus_connection_register_object(connection_, "/StatusNotifierWatcher", node_->interfaces[0],
                                          &vtable, this, nullptr, nullptr);
        g_dbus_connection_signal_subscribe(connection_, nullptr, "org.kde.StatusNotifierItem", nullptr,
                                           nullptr, nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
                                           &TestWatcher::OnSignal, this, nullptr);
        GVariant* reply = g_dbus_connection_call_sync(
            connection_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
            "RequestName", g_variant_new("(su)", "org.kde.StatusNotifierWatcher", 4u), nullptr,
            G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
        if (reply) g_variant_unref(reply);
    }
    ~TestWatcher() {
        g_dbus_connection_close_sync(connection_, nullptr, nullptr);
        g_object_unref(connection_);
        g_dbus_node_info_unref(node_);
    }
    TestWatcher(const TestWatcher&) = delete;
    TestWatcher& operator=(const TestWatcher&) = delete;

    // Starts reading a property of the item that registered as `service`
    // (as recorded: "sender" for the caller's own name, else a path).
    void Ask(const std::string& service, const std::string& property) {
        answer_.reset();
        g_dbus_connection_call(connection_, sender_.c_str(),
                               service == "sender" ? "/StatusNotifierItem" : service.c_str(),
                               "org.freedesktop.DBus.Properties", "Get",
                               g_variant_new("(ss)", "org.kde.StatusNotifierItem", property.c_str()),
                               nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, &TestWatcher::OnReply, this);
    }
    // Starts reading every property of the item, as a panel does first.
    void AskAll() {
        answer_.reset();
        g_dbus_connection_call(connection_, sender_.c_str(), "/StatusNotifierItem", "org.freedesktop.DBus.Properties",
                               "GetAll", g_variant_new("(s)", "org.kde.StatusNotifierItem"), nullptr,
                               G_DBUS_CALL_FLAGS_NONE, -1, nullptr, &TestWatcher::OnReply, this);
    }
    void Click(const std::string& method, int x, int y) {
        g_dbus_connection_call(connection_, sender_.c_str(), "/StatusNotifierItem",
                               "org.kde.StatusNotifierItem", method.c_str(), g_variant_new("(ii)", x, y),
                               nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr, nullptr);  // no answer awaited: none may outlive the watcher
    }
    // A panel registers with the watcher.
    void HostArrives() {
        host_ = true;
        g_dbus_connection_emit_signal(connection_, nullptr, "/StatusNotifierWatcher",
                                      "org.kde.StatusNotifierWatcher", "StatusNotifierHostRegistered",
                                      nullptr, nullptr);
    }
    bool Answered() const { return answer_.has_value(); }
    const std::string& Answer() const { return *answer_; }

    std::vector<std::string> Registered;
    std::vector<std::string> Signals;

private:
    static void OnCall(GDBusConnection*, const gchar* sender, const gchar*, const gchar*, const gchar*,
                       GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
        auto* watcher = static_cast<TestWatcher*>(self);
        const gchar* service = nullptr;
        g_variant_get(parameters, "(&s)", &service);
        watcher->sender_ = sender;
        watcher->Registered.push_back(std::string(service) == sender ? "sender" : service);
        g_dbus_method_invocation_return_value(invocation, nullptr);
    }
    static GVariant* OnGet(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                           GError**, gpointer self) {
        return g_variant_new_boolean(static_cast<TestWatcher*>(self)->host_);
    }
    static void OnSignal(GDBusConnection*, const gchar*, const gchar* path, const gchar*,
                         const gchar* name, GVariant*, gpointer self) {
        static_cast<TestWatcher*>(self)->Signals.push_back(std::string(path) + " " + name);
    }
    static void OnReply(GObject* source, GAsyncResult* result, gpointer self) {
        GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, nullptr);
        std::string text = "error";
        if (reply) {
            gchar* printed = g_variant_print(reply, FALSE);
            text = printed;
            g_free(printed);
            g_variant_unref(reply);
        }
        static_cast<TestWatcher*>(self)->answer_ = text;
    }

    GDBusConnection* connection_ = nullptr;
    GDBusNodeInfo* node_ = nullptr;
    std::string sender_;
    std::optional<std::string> answer_;
    bool host_;
};

gfx::TIcon Square(gfx::TPixel colour) {
    return gfx::TIcon(gfx::TSurface(32, 32, colour), std::vector<std::uint8_t>(32 * 32, 255));
}

class StatusNotifierAreaTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (bus.Address.empty()) GTEST_SKIP() << "no dbus-daemon";
    }
    NotifyIconData Record(std::uint32_t id, const std::string& tip, gfx::TPixel colour = 0xFF0000) {
        NotifyIconData d;
        d.uID = id;
        d.szTip = tip;
        d.Icon = Square(colour);
        return d;
    }
    // Runs both sides (the area's context and the watcher's default one)
    // until `done` holds; false after five seconds.
    template <class F>
    bool Until(F done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::vector<pollfd> fds;
            int timeout = 10;
            area.Prepare(fds, timeout);
            poll(fds.data(), fds.size(), std::min(timeout < 0 ? 10 : timeout, 10));
            area.Dispatch(fds);
            while (g_main_context_iteration(nullptr, FALSE)) {
            }
        }
        return true;
    }
    std::string Get(TestWatcher& watcher, const std::string& service, const std::string& property) {
        watcher.Ask(service, property);
        EXPECT_TRUE(Until([&] { return watcher.Answered(); }));
        return watcher.Answered() ? watcher.Answer() : "";
    }

    testing_support::TempDir dir;
    PrivateBus bus{dir};
    ScopedEnv address{"DBUS_SESSION_BUS_ADDRESS", bus.Address};
    GioLibrary gio;
    std::vector<std::string> clicks;
    StatusNotifierArea area{gio, [this](const NotifyIconData& r, std::intptr_t m, TPoint p) {
                                clicks.push_back(std::to_string(r.uID) + ":" + std::to_string(m) + "@" +
                                                 std::to_string(p.X) + "," + std::to_string(p.Y));
                            }};
};

TEST_F(StatusNotifierAreaTest, TheItemRegistersAndSignalsOnlyWhatReallyChanged) {
    TestWatcher watcher(bus.Address);
    EXPECT_EQ(area.State(), WatcherState::Unknown);
    area.Start();
    ASSERT_TRUE(Until([&] { return area.State() == WatcherState::Present; }));
    area.Show(Record(1, "Sorimo"));
    ASSERT_TRUE(Until([&] { return !watcher.Registered.empty(); }));
    EXPECT_EQ(watcher.Registered, (std::vector<std::string>{"sender"}));  // by its name: /StatusNotifierItem
    EXPECT_EQ(Get(watcher, "sender", "Title"), "(<'Sorimo'>,)");
    EXPECT_EQ(Get(watcher, "sender", "ToolTip"), "(<('', @a(iiay) [], 'Sorimo', '')>,)");
    // No menu, but a path that offers none, for panels that want one.
    EXPECT_EQ(Get(watcher, "sender", "Menu"), "(<objectpath '/NO_DBUSMENU'>,)");
    EXPECT_EQ(Get(watcher, "sender", "ItemIsMenu"), "(<false>,)");

    area.Update(Record(1, "Sorimo"));  // an equal copy of the icon, the same tip
    Get(watcher, "sender", "Status");   // signals sent before would be in by now
    EXPECT_TRUE(watcher.Signals.empty());
    area.Update(Record(1, "Other"));
    area.Update(Record(1, "Other", 0x00FF00));
    EXPECT_EQ(Get(watcher, "sender", "Title"), "(<'Other'>,)");
    EXPECT_EQ(watcher.Signals, (std::vector<std::string>{"/StatusNotifierItem NewTitle",
                                                         "/StatusNotifierItem NewToolTip",
                                                         "/StatusNotifierItem NewIcon"}));
}

// The pictures are built once per icon and answered one at a time: what a
// panel reads is the current icon, through Get and GetAll alike.
TEST_F(StatusNotifierAreaTest, ThePicturesReadAreTheCurrentIconsThroughGetAndGetAll) {
    TestWatcher watcher(bus.Address);
    area.Start();
    ASSERT_TRUE(Until([&] { return area.State() == WatcherState::Present; }));
    area.Show(Record(1, "Sorimo", 0x0000FF));
    ASSERT_TRUE(Until([&] { return !watcher.Registered.empty(); }));
    // The first pixel of the smallest picture, as A, R, G, B.
    const auto start = [](const std::string& answer) { return answer.substr(0, 40); };
    const std::string blue = Get(watcher, "sender", "IconPixmap");
    EXPECT_EQ(start(blue), "(<[(16, 16, [byte 0xff, 0x00, 0x00, 0xff");
    EXPECT_TRUE(Get(watcher, "sender", "IconPixmap") == blue);
    area.Update(Record(1, "Sorimo", 0x00FF00));
    EXPECT_EQ(start(Get(watcher, "sender", "IconPixmap")), "(<[(16, 16, [byte 0xff, 0x00, 0xff, 0x00");
    watcher.AskAll();
    ASSERT_TRUE(Until([&] { return watcher.Answered(); }));
    for (const char* part : {"'IconPixmap': <[(16, 16, [byte 0xff, 0x00, 0xff", "'Title': <'Sorimo'>",
                             "'ItemIsMenu': <false>"})
        EXPECT_TRUE(watcher.Answer().find(part) != std::string::npos) << part;
}

TEST_F(StatusNotifierAreaTest, ThePanelsRequestsBecomeClicksAtItsPoint) {
    TestWatcher watcher(bus.Address);
    area.Start();
    ASSERT_TRUE(Until([&] { return area.State() == WatcherState::Present; }));
    area.Show(Record(3, "Sorimo"));
    ASSERT_TRUE(Until([&] { return !watcher.Registered.empty(); }));
    for (const char* method : {"Activate", "ContextMenu", "SecondaryActivate"}) watcher.Click(method, 640, 2);
    ASSERT_TRUE(Until([&] { return clicks.size() == 5; }));
    EXPECT_EQ(clicks, (std::vector<std::string>{"3:515@640,2", "3:516@640,2", "3:517@640,2",
                                                "3:519@640,2", "3:520@640,2"}));
}

TEST_F(StatusNotifierAreaTest, AWatcherThatComesLaterGetsEveryItemAndASecondItemHasItsOwnPath) {
    area.Start();
    ASSERT_TRUE(Until([&] { return area.State() == WatcherState::Absent; }));  // none yet
    area.Show(Record(1, "first"));
    area.Show(Record(2, "second"));
    TestWatcher watcher(bus.Address);
    ASSERT_TRUE(Until([&] { return watcher.Registered.size() == 2; }));
    EXPECT_TRUE(Until([&] { return area.State() == WatcherState::Present; }));
    EXPECT_EQ(watcher.Registered, (std::vector<std::string>{"sender", "/StatusNotifierItem2"}));
    EXPECT_EQ(Get(watcher, "/StatusNotifierItem2", "Title"), "(<'second'>,)");
    area.Remove(2);
    EXPECT_EQ(Get(watcher, "/StatusNotifierItem2", "Title"), "error");  // no longer exported
}

TEST_F(StatusNotifierAreaTest, ItemsCountAsShownOnlyWhileAPanelThatDrawsThemRuns) {
    // Another desktop's watcher may run with nothing showing its items: an
    // icon there is invisible, and a window hidden to it could not come back.
    TestWatcher watcher(bus.Address, false);
    area.Start();
    ASSERT_TRUE(Until([&] { return area.State() == WatcherState::Absent; }));
    // The panel: a process of its own with a host's name.
    auto panel = [&] {
        GDBusConnection* c = g_dbus_connection_new_for_address_sync(
            bus.Address.c_str(),
            GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                 G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        GVariant* reply = g_dbus_connection_call_sync(
            c, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
            g_variant_new("(su)", "org.kde.StatusNotifierHost-77", 4u), nullptr, G_DBUS_CALL_FLAGS_NONE,
            -1, nullptr, nullptr);
        if (reply) g_variant_unref(reply);
        return c;
    };
    GDBusConnection* first = panel();
    watcher.HostArrives();
    ASSERT_TRUE(Until([&] { return area.State() == WatcherState::Present; }));
    // The panel ends; the watcher, another process, still says a host is
    // registered: nothing draws the item any more.
    g_dbus_connection_close_sync(first, nullptr, nullptr);
    g_object_unref(first);
    ASSERT_TRUE(Until([&] { return area.State() == WatcherState::Absent; }));
    GDBusConnection* second = panel();
    EXPECT_TRUE(Until([&] { return area.State() == WatcherState::Present; }));
    g_dbus_connection_close_sync(second, nullptr, nullptr);
    g_object_unref(second);
}

TEST(StatusNotifierAreaWithoutABus, IsAbsentAtOnceAndLoadsNothing) {
    testing_support::TempDir empty;
    ScopedEnv address("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
    ScopedEnv runtime("XDG_RUNTIME_DIR", empty.Path().string());
    GioLibrary missing("libsorimo-no-such-gio.so");
    StatusNotifierArea area(missing, [](const NotifyIconData&, std::intptr_t, TPoint) {});
    EXPECT_EQ(area.State(), WatcherState::Absent);
    area.Start();
    area.Show(NotifyIconData{});  // nowhere to show it: ignored
    EXPECT_EQ(area.State(), WatcherState::Absent);
}

}  // namespace
}  // namespace platform::xdg
