// Where windows go on desktops of several monitors: the reachability rule
// of a stored position and the centring of boxes, on layouts with monitors
// of different sizes, at negative coordinates and with parts of the
// desktop's bounding box that no monitor shows.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "gui/ScreenPlacement.h"

namespace gui {
namespace {

constexpr int kW = 264;  // the launcher
constexpr int kH = 104;

// 1920 x 1080 (primary) beside 1280 x 1024: the root is 3200 x 1080 and the
// strip below the smaller monitor (x >= 1920, y >= 1024) is shown by none.
const std::vector<TRect> kTwo{{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}};
// A 1280 x 1024 monitor left of the primary, lower down, and a 1600 x 900
// one right of it, higher up.
const std::vector<TRect> kThree{{0, 0, 1920, 1080}, {-1280, 200, 0, 1224}, {1920, -300, 3520, 600}};

TPoint Reach(TPoint p, const std::vector<TRect>& monitors) { return ReachablePosition(p, kW, kH, monitors); }

TEST(Reachability, AWindowPartlyOnAnyMonitorStays) {
    EXPECT_EQ(Reach({2000, 900}, kTwo), (TPoint{2000, 900}));          // on the smaller one
    EXPECT_EQ(Reach({1800, 1000}, kTwo), (TPoint{1800, 1000}));        // across the seam
    EXPECT_EQ(Reach({3199, 1023}, kTwo), (TPoint{3199, 1023}));        // one pixel on the smaller
    EXPECT_EQ(Reach({-1000, 1100}, kThree), (TPoint{-1000, 1100}));    // on the left one only
    EXPECT_EQ(Reach({3000, -250}, kThree), (TPoint{3000, -250}));      // on the right one, above 0
    EXPECT_EQ(Reach({-263, -103}, kThree), (TPoint{-263, -103}));      // one pixel on the primary
}

// The fault: the bounding box counted as the screen, so a position in the
// strip no monitor shows was "visible" and the launcher opened out of reach.
TEST(Reachability, APositionInTheDeadZoneMovesOntoThePrimaryMonitor) {
    EXPECT_EQ(Reach({2000, 1050}, kTwo), (TPoint{1920 - kW, 1080 - kH}));
    EXPECT_EQ(Reach({2500, 1024}, kTwo), (TPoint{1920 - kW, 1080 - kH}));
    // Below the left monitor and left of the primary one: the gap there.
    EXPECT_EQ(Reach({-600, 1300}, kThree), (TPoint{0, 1080 - kH}));
    // Above the left monitor, left of the primary.
    EXPECT_EQ(Reach({-600, 0}, kThree), (TPoint{0, 0}));
    // Below the right monitor and right of the primary.
    EXPECT_EQ(Reach({2500, 700}, kThree), (TPoint{1920 - kW, 700}));
}

TEST(Reachability, AWindowOffEveryMonitorIsClampedInsideThePrimaryOneWhereverItLies) {
    // The primary monitor right of a 1280-wide one that starts at 0.
    const std::vector<TRect> layout{{1280, 0, 3200, 1080}, {0, 0, 1280, 1024}};
    EXPECT_EQ(Reach({-5000, -5000}, layout), (TPoint{1280, 0}));
    EXPECT_EQ(Reach({9000, 500}, layout), (TPoint{3200 - kW, 500}));
    EXPECT_EQ(Reach({100, 1030}, layout), (TPoint{1280, 1080 - kH}));  // under the left one
    // Larger than the primary monitor: its top-left corner.
    EXPECT_EQ(ReachablePosition({5000, 5000}, 2500, 1200, layout), (TPoint{1280, 0}));
}

TEST(Reachability, PositionsAtTheEndsOfTheIntRangeNeitherWrapNorOverflow) {
    // Left + width past INT_MAX must not wrap round onto a monitor.
    EXPECT_EQ(Reach({INT_MAX - 10, INT_MAX - 10}, kTwo), (TPoint{1920 - kW, 1080 - kH}));
    EXPECT_EQ(Reach({INT_MAX, INT_MIN}, kThree), (TPoint{1920 - kW, 0}));
    EXPECT_EQ(Reach({INT_MIN, INT_MAX}, kThree), (TPoint{0, 1080 - kH}));
}

TEST(Reachability, WithoutMonitorsNothingMoves) {
    EXPECT_EQ(Reach({-9000, 9000}, {}), (TPoint{-9000, 9000}));
}

TEST(Centring, ABoxIsCentredOnTheMonitorItIsGivenWhereverThatLies) {
    EXPECT_EQ(CentredOn({0, 0, 1920, 1080}, 327, 152), (TPoint{796, 464}));
    EXPECT_EQ(CentredOn({1280, 0, 3200, 1080}, 327, 152), (TPoint{1280 + 796, 464}));
    EXPECT_EQ(CentredOn({-1280, 200, 0, 1224}, 327, 152), (TPoint{-1280 + 476, 200 + 436}));
    // Odd leftovers round towards the top-left, as (w - 327) div 2 does.
    EXPECT_EQ(CentredOn({0, 0, 1024, 768}, 327, 152), (TPoint{348, 308}));
}

TEST(Centring, ABoxLargerThanTheMonitorStartsAtItsTopLeftCorner) {
    EXPECT_EQ(CentredOn({-640, -480, 0, 0}, 800, 600), (TPoint{-640, -480}));
    EXPECT_EQ(CentredOn({100, 50, 400, 250}, 327, 152), (TPoint{100, 74}));
}

}  // namespace
}  // namespace gui
