// The about box in the running program: opened modally from the launcher's
// about panel, centred on its first showing only, closed by its OK button,
// the launcher taking no input while it is open.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "launcher/Unit2.h"
#include "tests/scenario/LauncherFixture.h"
#include "widgets/Veltobtn.h"

namespace testing_support {
namespace {

using gfx::TPoint;

constexpr gfx::TPixel kPanel = 0xD6FDFE;    // 0xFEFDD6 as a pixel
constexpr gfx::TPixel kLampOff = 0x8000FF;  // LedOffColor 0xFF0080 as a pixel
constexpr gfx::TPixel kLampOn = 0x00FFFF;   // clAqua as a pixel

class AboutBox : public LauncherTest {
protected:
    void SetUp() override {
        // The launcher at the screen's corner, clear of the centred box.
        std::string text = "[FORM]\r\nLEFT=0\r\nTOP=0\r\n[FILES]\r\n";
        for (int k = 1; k <= 28; ++k)
            text += std::to_string(k) + "=/slot/" + std::to_string(k) + "\r\n";
        WriteIni(text);
        for (int k = 1; k <= 28; ++k) platform.ShellResults["/slot/" + std::to_string(k)] = 42;
    }

    launcher::TForm2& About() const { return *program->Form2; }
    TPoint OkButton() const { return About().VeltoButton1->ClientToScreen({60, 13}); }
    gfx::TRect ShownBounds() const { return platform.WindowByHandle(About().Handle())->Bounds(); }
    gfx::TPixel AboutPixel(int x, int y) const {
        return platform.WindowByHandle(About().Handle())->Snapshot().Get(x, y);
    }

    // Opens the box with a left click on the about panel, runs `steps` 100
    // ms apart inside its modal loop (each when the loop waits, after what
    // was drawn is presented), then clicks OK.
    void OpenAndClose(std::vector<std::function<void()>> steps) {
        ClickAt(AboutPanel());
        platform.After(50, [this] { opened = About().Visible() && About().Modal(); });
        int at = 0;
        for (auto& step : steps) platform.After(at += 100, std::move(step));
        platform.After(at + 100, [this] { ClickAt(OkButton()); });
        Settle(at + 200);
    }
    std::vector<std::string> Launched() const {
        std::vector<std::string> files;
        for (const auto& call : platform.ShellCalls) files.push_back(call.Request.File);
        return files;
    }

    bool opened = false;
};

TEST_F(AboutBox, ShowsCentredOnceAndKeepsItsPlaceWhenShownAgain) {
    Start();
    gfx::TRect first;
    OpenAndClose({[&] { first = ShownBounds(); }});
    EXPECT_TRUE(opened);
    EXPECT_FALSE(About().Visible());
    EXPECT_EQ(About().ModalResult, gui::mrCancel);
    EXPECT_EQ(first, (gfx::TRect{348, 308, 348 + 327, 308 + 152}));  // (1024 - 327) div 2, ...

    platform.SetScreen({0, 0, 640, 480});
    gfx::TRect second;
    opened = false;
    OpenAndClose({[&] { second = ShownBounds(); }});
    EXPECT_TRUE(opened);
    EXPECT_EQ(second, first);
    EXPECT_FALSE(About().Visible());
}

TEST_F(AboutBox, TheLauncherTakesNoInputWhileItIsOpen) {
    Start();
    OpenAndClose({[&] { ClickAt(Cell(0, 0)); }});
    EXPECT_TRUE(opened);
    EXPECT_TRUE(Launched().empty());
    ClickAt(Cell(0, 0));
    Settle();
    EXPECT_EQ(Launched(), (std::vector<std::string>{"/slot/1"}));
}

// The OK button lies on the blotter panel and gets the pointer through it:
// its lamp rests in LedOffColor and lights in aqua under the pointer.
TEST_F(AboutBox, TheOkButtonLightsUpOnThePanel) {
    Start();
    gfx::TPixel resting = 0, lit = 0, panel = 0;
    OpenAndClose({[&] {
                      resting = AboutPixel(124 + 13, 114 + 13);
                      panel = AboutPixel(100, 140);
                      platform.MoveTo(OkButton().X, OkButton().Y);
                  },
                  [&] { lit = AboutPixel(124 + 13, 114 + 13); }});
    EXPECT_EQ(resting, kLampOff);
    EXPECT_EQ(lit, kLampOn);
    EXPECT_EQ(panel, kPanel);
}

}  // namespace
}  // namespace testing_support
