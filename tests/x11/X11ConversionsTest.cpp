// The X11 backend's pure conversions: buttons, modifier states, logical
// points at the screen scale, Latin-1 window names, and which protocol
// errors are expected, and where a tray icon's tip opens.
// GoogleTest first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include <climits>

#include "platform/x11/X11Display.h"
#include "platform/x11/X11Errors.h"
#include "platform/x11/X11Input.h"
#include "platform/x11/TipPlacement.h"

namespace platform::x11 {
namespace {

TEST(X11Input, ButtonsOneToThreeAreLeftMiddleRightAndTheWheelIsNone) {
    EXPECT_EQ(ButtonOf(Button1), gfx::mbLeft);
    EXPECT_EQ(ButtonOf(Button2), gfx::mbMiddle);
    EXPECT_EQ(ButtonOf(Button3), gfx::mbRight);
    EXPECT_EQ(ButtonOf(Button4), std::nullopt);  // wheel up
    EXPECT_EQ(ButtonOf(9), std::nullopt);
}

TEST(X11Input, ModifiersAndHeldButtonsBecomeTheShiftState) {
    EXPECT_EQ(ShiftOf(0), 0);
    EXPECT_EQ(ShiftOf(ShiftMask | ControlMask | Mod1Mask),
              gfx::ssShift | gfx::ssCtrl | gfx::ssAlt);
    EXPECT_EQ(ShiftOf(Button1Mask | Button3Mask), gfx::ssLeft | gfx::ssRight);
    EXPECT_EQ(ShiftOf(Button2Mask | LockMask | Mod4Mask), gfx::ssMiddle);  // caps lock, super: none
}

// Negative coordinates (a monitor left of the primary) must stay in their
// block, and the far ends of int overflowed in the negation.
TEST(X11Input, LogicalPointsFloorIntoTheirBlockForEveryInt) {
    EXPECT_EQ(LogicalPoint({7, 8}, 1), (gfx::TPoint{7, 8}));
    EXPECT_EQ(LogicalPoint({7, 8}, 2), (gfx::TPoint{3, 4}));
    EXPECT_EQ(LogicalPoint({-1, -2}, 2), (gfx::TPoint{-1, -1}));
    EXPECT_EQ(LogicalPoint({-3, 0}, 2), (gfx::TPoint{-2, 0}));
    EXPECT_EQ(LogicalPoint({INT_MIN, INT_MAX}, 3), (gfx::TPoint{INT_MIN / 3 - 1, INT_MAX / 3}));
    EXPECT_EQ(LogicalPoint({INT_MIN, 5}, 1), (gfx::TPoint{INT_MIN, 5}));
}

TEST(TrayTip, OpensBesideThePointerOnTheIconsMonitorAboveABottomPanel) {
    const std::vector<gfx::TRect> two{{0, 0, 1280, 800}, {1280, 0, 2304, 768}};
    struct Case {
        const char* what;
        gfx::TPoint pointer;
        gfx::TRect icon;
        gfx::TPoint expected;
    };
    const Case cases[] = {
        {"top panel: below the pointer", {1000, 10}, {990, 0, 1014, 24}, {1012, 26}},
        {"bottom panel: above the icon", {1000, 790}, {990, 776, 1014, 800}, {1000 + 12, 776 - 2 - 20}},
        {"right edge: moved left to fit", {1270, 10}, {1256, 0, 1280, 24}, {1280 - 100, 26}},
        {"second monitor's bottom right corner", {2300, 760}, {2280, 744, 2304, 768}, {2304 - 100, 744 - 2 - 20}},
        {"pointer on the first monitor, icon on the second", {1279, 10}, {1280, 0, 1304, 24}, {1291, 26}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TipPlace(c.pointer, c.icon, 100, 20, two), c.expected);
    }
    EXPECT_EQ(TipPlace({5, 5}, {0, 0, 24, 24}, 100, 20, {}), (gfx::TPoint{17, 21}));  // no monitors known
}

TEST(X11Names, Latin1OnlyWhenEveryCharacterHasOne) {
    EXPECT_EQ(Latin1("Sorimo"), "Sorimo");
    EXPECT_EQ(Latin1("caf\xC3\xA9\tx"), "caf\xE9\tx");
    EXPECT_EQ(Latin1("Sorimo\xE3\x83\x92\xE3\x83\xB3\xE3\x83\x88"), std::nullopt);  // Japanese
    EXPECT_EQ(Latin1("a\x01"), std::nullopt);         // a control character
    EXPECT_EQ(Latin1("a\xC2\x85"), std::nullopt);     // C1 control
    EXPECT_EQ(Latin1(""), "");
}

TEST(X11Errors, VanishedWindowsAreExpectedOtherErrorsAreFaults) {
    EXPECT_TRUE(IsExpectedXError(BadWindow, X_SendEvent));
    EXPECT_TRUE(IsExpectedXError(BadDrawable, X_PutImage));
    EXPECT_TRUE(IsExpectedXError(BadMatch, X_GetImage));
    EXPECT_TRUE(IsExpectedXError(BadMatch, X_SetInputFocus));
    EXPECT_FALSE(IsExpectedXError(BadMatch, X_CreateWindow));
    EXPECT_FALSE(IsExpectedXError(BadValue, X_ChangeProperty));
    EXPECT_FALSE(IsExpectedXError(BadAtom, X_GetProperty));
}

TEST(X11Errors, EachErrorAndRequestIsReportedOnceAndNamed) {
    XErrorLog log;
    EXPECT_TRUE(log.FirstTime(BadValue, X_ChangeProperty));
    EXPECT_FALSE(log.FirstTime(BadValue, X_ChangeProperty));
    EXPECT_TRUE(log.FirstTime(BadValue, X_CreateWindow));
    XErrorEvent e{};
    e.error_code = BadValue;
    e.request_code = X_ChangeProperty;
    e.minor_code = 0;
    e.resourceid = 0x400001;
    EXPECT_EQ(DescribeXError(e, "BadValue"), "X error 2 (BadValue) in request 18.0 on resource 0x400001");
}

}  // namespace
}  // namespace platform::x11
