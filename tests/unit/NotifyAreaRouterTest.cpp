// Which service shows a Linux notification-area icon as the services come
// and go: the session bus's items where a watcher runs, else the XEmbed
// tray, else none (the add is refused and the GUI layer keeps it pending).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/xdg/tray/NotifyAreaRouter.h"

namespace platform::xdg {
namespace {

using Log = std::vector<std::string>;

class RecordingService final : public NotifyService {
public:
    explicit RecordingService(std::string name, Log& log) : name_(std::move(name)), log_(log) {}
    void Show(const NotifyIconData& r) override { log_.push_back(name_ + " show " + std::to_string(r.uID)); }
    void Update(const NotifyIconData& r) override {
        log_.push_back(name_ + " update " + std::to_string(r.uID) + " " + r.szTip);
    }
    void Remove(std::uint32_t uID) override { log_.push_back(name_ + " remove " + std::to_string(uID)); }

private:
    std::string name_;
    Log& log_;
};

class Router : public ::testing::Test {
protected:
    NotifyIconData Record(std::uint32_t id, const std::string& tip = "Sorimo") {
        NotifyIconData d;
        d.uID = id;
        d.szTip = tip;
        return d;
    }
    bool Add(std::uint32_t id) { return router.Apply(NIM_ADD, Record(id)); }
    Log Take() { return std::exchange(log, {}); }
    void Turn() { router.Reconcile(); }

    Log log;
    RecordingService items{"items", log};
    RecordingService tray{"tray", log};
    NotifyAreaRouter router{items, tray};
};

TEST_F(Router, BeforeTheBusAnswersAnAddATrayCouldShowIsHeldSoAProxyNeverShowsItTwice) {
    router.SetTray(true);
    router.SetTrayDraws(true);
    EXPECT_TRUE(Add(1));
    EXPECT_TRUE(router.Apply(NIM_MODIFY, Record(1, "new tip")));
    Turn();
    EXPECT_TRUE(Take().empty());  // neither service yet
    router.SetWatcher(WatcherState::Present);
    Turn();
    EXPECT_EQ(Take(), (Log{"items show 1"}));
    EXPECT_FALSE(router.TakeAppeared());  // the GUI layer never saw a refusal

    NotifyAreaRouter other(items, tray);  // the same desktop without a watcher
    other.SetTray(true);
    other.SetTrayDraws(true);
    other.Apply(NIM_ADD, Record(2));
    other.SetWatcher(WatcherState::Absent);
    other.Reconcile();
    EXPECT_EQ(Take(), (Log{"tray show 2"}));
}

TEST_F(Router, WithNoAreaAnAddIsRefusedAndTheAreaThatAppearsIsAnnouncedOnce) {
    EXPECT_FALSE(Add(1));  // bus unknown, no tray
    router.SetWatcher(WatcherState::Absent);
    Turn();
    EXPECT_FALSE(router.TakeAppeared());
    EXPECT_FALSE(Add(1));
    EXPECT_FALSE(router.Apply(NIM_MODIFY, Record(1)));  // not held: refused too
    router.SetTray(true);
    router.SetTrayDraws(true);
    Turn();
    EXPECT_TRUE(router.TakeAppeared());
    EXPECT_FALSE(router.TakeAppeared());
    EXPECT_TRUE(Take().empty());
    EXPECT_TRUE(Add(1));  // the GUI layer's add again
    EXPECT_EQ(Take(), (Log{"tray show 1"}));
    Turn();
    EXPECT_FALSE(router.TakeAppeared());
}

TEST_F(Router, IconsMoveBetweenServicesAndAreLostOnlyWhenNoneIsLeft) {
    router.SetTray(true);
    router.SetTrayDraws(true);
    router.SetWatcher(WatcherState::Present);
    Add(1);
    router.Apply(NIM_MODIFY, Record(1, "tip"));
    EXPECT_EQ(Take(), (Log{"items show 1", "items update 1 tip"}));
    router.SetWatcher(WatcherState::Absent);
    Turn();
    EXPECT_EQ(Take(), (Log{"items remove 1", "tray show 1"}));  // the tip went along
    EXPECT_EQ(router.ShownBy(1), NotifyAreaRouter::Shown::Tray);
    router.SetWatcher(WatcherState::Present);
    Turn();
    EXPECT_EQ(Take(), (Log{"tray remove 1", "items show 1"}));
    EXPECT_FALSE(router.TakeLost());

    router.SetTray(false);
    router.SetWatcher(WatcherState::Absent);
    Turn();
    EXPECT_EQ(Take(), (Log{"items remove 1"}));
    EXPECT_TRUE(router.TakeLost());
    EXPECT_FALSE(router.Holds(1));
    router.SetWatcher(WatcherState::Present);
    Turn();
    EXPECT_TRUE(router.TakeAppeared());  // the GUI layer's pending icon comes back
}

TEST_F(Router, AWatcherThatGoesAndComesBackInOneTurnMovesNothing) {
    router.SetWatcher(WatcherState::Present);
    Add(1);
    Take();
    router.SetWatcher(WatcherState::Absent);
    router.SetWatcher(WatcherState::Present);
    Turn();
    EXPECT_TRUE(Take().empty());
    EXPECT_FALSE(router.TakeLost());
}

TEST_F(Router, ANewTrayManagerGetsTheTrayIconsDockedAgain) {
    router.SetTray(true);
    router.SetTrayDraws(true);
    router.SetWatcher(WatcherState::Absent);
    Add(1);
    Add(2);
    router.Apply(NIM_DELETE, Record(2));
    EXPECT_EQ(Take(), (Log{"tray show 1", "tray show 2", "tray remove 2"}));
    router.TrayReplaced();
    Turn();
    EXPECT_EQ(Take(), (Log{"tray show 1"}));
    EXPECT_TRUE(router.Apply(NIM_DELETE, Record(7)));  // unknown: nothing to do
    EXPECT_TRUE(Take().empty());
}

TEST_F(Router, IconsDockedWhereNothingDrawsThemAreRefusedUntilTheTrayShowsThem) {
    // A tray that takes icons and shows none (a proxy into a panel that is
    // not there, a panel that ignores XEmbed icons): the window must not
    // hide to it.
    router.SetWatcher(WatcherState::Absent);
    EXPECT_FALSE(Add(1));  // no tray yet
    router.SetTray(true);
    Turn();
    EXPECT_TRUE(router.TakeAppeared());  // asked for, to be docked
    EXPECT_FALSE(Add(1));
    EXPECT_EQ(Take(), (Log{"tray show 1"}));  // docked all the same
    Turn();
    EXPECT_FALSE(router.TakeLost());
    EXPECT_FALSE(router.TakeAppeared());
    router.SetTrayDraws(true);
    Turn();
    EXPECT_TRUE(router.TakeAppeared());
    EXPECT_TRUE(Add(1));  // the GUI layer adds again: docked already, not docked anew
    EXPECT_EQ(Take(), (Log{"tray update 1 Sorimo"}));
    router.SetTrayDraws(false);  // the tray stopped showing it
    Turn();
    EXPECT_TRUE(router.TakeLost());
    Turn();
    EXPECT_FALSE(router.TakeLost());  // once
}

}  // namespace
}  // namespace platform::xdg
