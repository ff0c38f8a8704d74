// The Wayland backend's pure conversions (buttons, keys, pointer points,
// which output a window goes on) and the choice of backend at start.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>
#include <wayland-util.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include <climits>

#include "app/BackendChoice.h"
#include "platform/wayland/WaylandConversions.h"

namespace platform::wayland {
namespace {

TEST(WaylandInput, LeftRightMiddleButtonsAndNoOthers) {
    EXPECT_EQ(ButtonOf(BTN_LEFT), gfx::mbLeft);
    EXPECT_EQ(ButtonOf(BTN_RIGHT), gfx::mbRight);
    EXPECT_EQ(ButtonOf(BTN_MIDDLE), gfx::mbMiddle);
    EXPECT_EQ(ButtonOf(BTN_SIDE), std::nullopt);
    EXPECT_EQ(ButtonOf(0), std::nullopt);
}

TEST(WaylandInput, OnlyTheBoxesKeysAreReported) {
    EXPECT_EQ(KeyOf(XKB_KEY_Return), Key::Return);
    EXPECT_EQ(KeyOf(XKB_KEY_KP_Enter), Key::KeypadEnter);
    EXPECT_EQ(KeyOf(XKB_KEY_space), Key::Space);
    EXPECT_EQ(KeyOf(XKB_KEY_Escape), Key::Escape);
    EXPECT_EQ(KeyOf(XKB_KEY_a), std::nullopt);
    EXPECT_EQ(KeyOf(XKB_KEY_NoSymbol), std::nullopt);
}

// A pointer left of or above the surface during a drag has negative
// fractional coordinates: they belong to the pixel below them (-0.25 is
// pixel -1), as on the other backends, or the handle would jump by one.
TEST(WaylandInput, SurfacePointsFloorIntoTheLayoutPixel) {
    const gfx::TPoint origin{100, 120};
    EXPECT_EQ(ScreenPoint(origin, wl_fixed_from_double(5.75), wl_fixed_from_double(0)),
              (gfx::TPoint{105, 120}));
    EXPECT_EQ(ScreenPoint(origin, wl_fixed_from_double(-0.25), wl_fixed_from_double(-1.0)),
              (gfx::TPoint{99, 119}));
    EXPECT_EQ(ScreenPoint({-1920, 0}, wl_fixed_from_int(10), wl_fixed_from_int(3)),
              (gfx::TPoint{-1910, 3}));
}

TEST(WaylandOutputs, AWindowGoesOnTheOutputOfItsCornerElseTheOneItOverlapsMostElseTheFirst) {
    // Two outputs side by side, the second at a negative place, and a
    // third below the first.
    const std::vector<gfx::TRect> outputs{{0, 0, 1280, 720}, {-1920, 0, 0, 1080}, {0, 720, 1280, 1440}};
    struct Case {
        gfx::TRect bounds;
        std::size_t output;
    } cases[] = {
        {gfx::Bounds(100, 120, 264, 104), 0},
        {gfx::Bounds(-264, 10, 264, 104), 1},     // wholly on the left one
        {gfx::Bounds(-10, 10, 264, 104), 1},      // corner on the left one
        {gfx::Bounds(1279, 719, 264, 104), 0},    // the last pixel still counts
        {gfx::Bounds(-100, 1100, 264, 104), 2},   // corner on none: the one it overlaps
        {gfx::Bounds(5000, 5000, 264, 104), 0},   // on none: the first
    };
    for (const Case& c : cases)
        EXPECT_EQ(OutputFor(outputs, c.bounds), c.output) << c.bounds.Left << "," << c.bounds.Top;
}

TEST(BackendChoice, TheVariableForcesEitherElseAWaylandDisplayIsTried) {
    using app::TBackendWish;
    EXPECT_EQ(app::WishedBackend("", false), TBackendWish::X11);
    EXPECT_EQ(app::WishedBackend("", true), TBackendWish::TryWayland);
    EXPECT_EQ(app::WishedBackend("x11", true), TBackendWish::X11);
    EXPECT_EQ(app::WishedBackend("wayland", false), TBackendWish::Wayland);
    EXPECT_EQ(app::WishedBackend("Wayland", true), std::nullopt);  // a typo is told, not guessed
    EXPECT_EQ(app::WishedBackend("gtk", false), std::nullopt);
}

}  // namespace
}  // namespace platform::wayland
