// A form's window on monitors of other densities: the real user32 window,
// with the messages Windows sends. Needs a display (the Wine integration
// test runs these on its desktop); without one they are skipped.
#include "platform/common/BlockScaling.h"
#include "platform/win32/Win32Window.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace {

using platform::MouseInput;
using platform::TPoint;
using platform::TRect;
using platform::win32::Win32Window;
using platform::win32::WindowClass;

struct Recorder final : platform::WindowListener {
    void NativeMouse(const MouseInput& input) override { mice.push_back(input.Screen); }
    void NativeExpose(const TRect&) override {}
    void NativeKey(const platform::KeyInput&) override {}
    void NativeCloseRequest() override {}
    void NativeDrag(const platform::DragInput&) override {}
    void NativeMoved(const TPoint& topLeft) override { moves.push_back(topLeft); }
    std::vector<TPoint> mice;
    std::vector<TPoint> moves;
};

class Win32WindowDpi : public ::testing::Test {
protected:
    void SetUp() override {
        try {
            window_ = std::make_unique<Win32Window>(
                class_, platform::WindowSpec{"t", platform::WindowKind::Main, {100, 120, 364, 224}},
                listener_, nullptr);
        } catch (const std::runtime_error&) {
            GTEST_SKIP() << "no display to make windows on";
        }
        if (window_->PixelScale() != 1) GTEST_SKIP() << "the screen is dense already";
    }

    RECT WindowRect() const {
        RECT r{};
        ::GetWindowRect(window_->Hwnd(), &r);
        return r;
    }

    void DpiChanged(int dpi, RECT suggested) {
        ::SendMessageW(window_->Hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }

    WindowClass class_{L"SorimoTestForm", &Win32Window::Procedure, CS_DBLCLKS};
    Recorder listener_;
    std::unique_ptr<Win32Window> window_;
};

TEST_F(Win32WindowDpi, DenserMonitorTakesTheSuggestedPlaceAtWholeBlocksAndTellsTheForm) {
    // The system suggests its own guess of the size (1.5 x); the window
    // keeps whole blocks of 2.
    DpiChanged(192, {300, 200, 696, 356});
    const RECT r = WindowRect();
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 200);
    EXPECT_EQ(r.right - r.left, 528);
    EXPECT_EQ(r.bottom - r.top, 208);
    EXPECT_EQ(window_->PixelScale(), 2);
    ASSERT_EQ(listener_.moves.size(), 1u);
    EXPECT_EQ(listener_.moves[0].X, 300);
    EXPECT_EQ(listener_.moves[0].Y, 200);

    // Back on a monitor of 96 dpi: 1:1 again.
    DpiChanged(96, {40, 50, 304, 154});
    const RECT back = WindowRect();
    EXPECT_EQ(back.right - back.left, 264);
    EXPECT_EQ(window_->PixelScale(), 1);
}

TEST_F(Win32WindowDpi, PointsInADenseWindowAreItsPlacePlusTheOffsetInTheFormsPixels) {
    DpiChanged(192, {300, 200, 696, 356});
    ::SendMessageW(window_->Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(9, 7));
    // Captured points left of and above the window stay in their block.
    ::SendMessageW(window_->Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(-3, -1));
    ASSERT_EQ(listener_.mice.size(), 2u);
    EXPECT_EQ(listener_.mice[0].X, 300 + 4);
    EXPECT_EQ(listener_.mice[0].Y, 200 + 3);
    EXPECT_EQ(listener_.mice[1].X, 300 - 2);
    EXPECT_EQ(listener_.mice[1].Y, 200 - 1);
}

TEST(DpiScale, WholeScalesWithHalvesUpwards) {
    EXPECT_EQ(platform::ScaleForDpi(96), 1);
    EXPECT_EQ(platform::ScaleForDpi(120), 1);
    EXPECT_EQ(platform::ScaleForDpi(143), 1);
    EXPECT_EQ(platform::ScaleForDpi(144), 2);
    EXPECT_EQ(platform::ScaleForDpi(192), 2);
    EXPECT_EQ(platform::ScaleForDpi(240), 3);
    EXPECT_EQ(platform::ScaleForDpi(0), 1);
}

}  // namespace
