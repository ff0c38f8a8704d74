// Keys on the program's boxes: the GUI layer's error box (the one X11 shows)
// closes on Return, keypad Enter, Space and Escape; the about box closes on
// Escape and Return like its OK button; the launcher has no keyboard
// commands.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "launcher/Unit2.h"
#include "tests/scenario/LauncherFixture.h"

namespace testing_support {
namespace {

using platform::Key;

class BoxKeys : public LauncherTest {
protected:
    // The visible dialog windows on the desktop, by caption.
    std::vector<std::string> Boxes() const {
        std::vector<std::string> captions;
        for (const platform::HeadlessWindow* w : platform.Windows())
            if (w->Visible() && w->Kind() == platform::WindowKind::Dialog) captions.push_back(w->Caption());
        return captions;
    }
    // Makes the next settings write fail: a folder where the file should be.
    void BreakSettingsFile() {
        std::filesystem::remove(IniPath());
        std::filesystem::create_directory(IniPath());
    }
    // Opens the about box, presses `key` inside its modal loop; whether the
    // box was still shown 100 ms after the key.
    bool AboutBoxShownAfter(Key key) {
        ClickAt(AboutPanel());
        bool shown = false;
        platform.After(100, [&] { platform.PressKey(key); });
        platform.After(200, [&] { shown = program->Form2->Visible(); });
        Settle(300);
        return shown;
    }
};

// The fault: the X11 error box had no keyboard at all.
TEST_F(BoxKeys, TheErrorBoxClosesOnReturnKeypadEnterSpaceAndEscapeAndTheProgramGoesOn) {
    platform.HasNativeErrorBox = false;  // the GUI layer's own box, as on X11
    Start();
    BreakSettingsFile();
    for (Key key : {Key::Return, Key::KeypadEnter, Key::Space, Key::Escape}) {
        std::vector<std::string> during, after;
        ClickAt(Handle(), gfx::mbRight);  // close: the save fails and is shown
        platform.After(100, [&] {
            during = Boxes();
            platform.PressKey(key);
        });
        platform.After(200, [&] { after = Boxes(); });
        Settle(300);
        EXPECT_EQ(during, (std::vector<std::string>{"sorimo"})) << int(key);
        EXPECT_TRUE(after.empty()) << int(key);
        EXPECT_FALSE(program->Application.Terminated());
        EXPECT_TRUE(form->Visible());
    }
    EXPECT_EQ(platform.ErrorBoxes.size(), 4u);
}

TEST_F(BoxKeys, TheAboutBoxClosesOnEscapeAndReturnLikeItsOkButton) {
    Start();
    for (Key key : {Key::Escape, Key::Return, Key::KeypadEnter}) {
        EXPECT_FALSE(AboutBoxShownAfter(key)) << int(key);
        EXPECT_EQ(program->Form2->ModalResult, gui::mrCancel);
    }
    EXPECT_TRUE(AboutBoxShownAfter(Key::Space));  // not a key of the box
    platform.PressKey(Key::Escape);
    Settle();
    EXPECT_FALSE(program->Form2->Visible());
    // The launcher takes input again.
    ClickAt(AboutPanel(), gfx::mbRight);
    Settle();
    EXPECT_FALSE(form->Visible());
}

TEST_F(BoxKeys, TheLauncherHasNoKeyboardCommands) {
    WriteIni("[FORM]\r\nLEFT=10\r\nTOP=20\r\n");
    Start();
    for (Key key : {Key::Return, Key::KeypadEnter, Key::Space, Key::Escape}) platform.PressKey(key);
    Settle();
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(program->Application.Terminated());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(platform.DialogRequests.empty());
    EXPECT_EQ(Ini(), "[FORM]\r\nLEFT=10\r\nTOP=20\r\n");
}

}  // namespace
}  // namespace testing_support
