// Double clicks made from presses, as the X11 backend and its tray icon
// make them: same button, same window, soon and near.
#include <gtest/gtest.h>

#include "platform/common/DoubleClickTracker.h"

namespace platform {
namespace {

using gfx::mbLeft;
using gfx::mbRight;

TEST(DoubleClickTracker, TwoQuickPressesMakeADoubleClickTwoSlowOnesDoNot) {
    DoubleClickTracker t;
    EXPECT_FALSE(t.Press(mbLeft, {10, 10}, 1, 1000));
    EXPECT_TRUE(t.Press(mbLeft, {11, 12}, 1, 1400));
    EXPECT_FALSE(t.Press(mbLeft, {11, 12}, 1, 1500));  // a third press starts anew
    EXPECT_FALSE(t.Press(mbLeft, {11, 12}, 1, 2100));  // 600 ms later: too slow
}

TEST(DoubleClickTracker, ButtonWindowAndDistanceMustMatch) {
    DoubleClickTracker t;
    EXPECT_FALSE(t.Press(mbLeft, {10, 10}, 1, 0));
    EXPECT_FALSE(t.Press(mbRight, {10, 10}, 1, 100));  // another button
    EXPECT_TRUE(t.Press(mbRight, {10, 10}, 1, 200));
    EXPECT_FALSE(t.Press(mbLeft, {10, 10}, 1, 300));
    EXPECT_FALSE(t.Press(mbLeft, {10, 10}, 2, 350));  // another window
    EXPECT_FALSE(t.Press(mbLeft, {20, 10}, 2, 400));  // too far
    EXPECT_TRUE(t.Press(mbLeft, {16, 14}, 2, 500));
}

}  // namespace
}  // namespace platform
