// Runs the whole program on the headless backend with a settings file in a
// temporary folder, and knows where the launcher's parts lie on screen.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/Sorimo.h"
#include "launcher/Unit1.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/TempDir.h"

namespace testing_support {

class LauncherTest : public ::testing::Test {
protected:
    LauncherTest() { platform.SetExecutablePath(dir.File("sorimo")); }

    std::string IniPath() const { return dir.File("sorimo.INI"); }
    void WriteIni(const std::string& text) { WriteFile(IniPath(), text); }
    std::string Ini() const { return ReadFile(IniPath()); }

    // Starts the program and runs it until it is idle and the first grid
    // paint (one second after creation) has happened.
    void Start() {
        program = std::make_unique<app::TSorimo>(platform);
        ASSERT_TRUE(program->Start());
        form = program->Form1;
        form->Show();
        Settle(1100);
    }
    // Runs the loop for `ms` of virtual time.
    void Settle(int ms = 0) {
        // Shared: when the program ends first, the step is still queued.
        auto done = std::make_shared<bool>(false);
        platform.After(ms, [done] { *done = true; });
        while (!*done && !program->Application.Terminated()) program->Application.HandleMessage();
        program->Application.ProcessMessages();
    }

    // Screen point of a cell's centre, of the drag handle, of the about panel.
    gfx::TPoint Cell(int col, int row) const {
        return {form->Left() + 1 + 16 + 36 * col + 18, form->Top() + 1 + 16 + 36 * row + 18};
    }
    gfx::TPoint Handle() const { return {form->Left() + 212 + 5, form->Top() + 5}; }
    gfx::TPoint AboutPanel() const { return {form->Left() + 212 + 5, form->Top() + 52 + 5}; }
    void ClickAt(gfx::TPoint p, gfx::TMouseButton b = gfx::mbLeft) { platform.Click(b, p.X, p.Y); }

    // The pixel the launcher window shows at a window point.
    gfx::TPixel WindowPixel(int x, int y) const {
        return platform.WindowByHandle(form->Handle())->Snapshot().Get(x, y);
    }

    TempDir dir;
    platform::HeadlessPlatform platform;
    std::unique_ptr<app::TSorimo> program;
    launcher::TForm1* form = nullptr;
};

}  // namespace testing_support
