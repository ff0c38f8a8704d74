// Sorimo: the program. Start reading here.
//
// The program is three windows over a GUI layer (gui/) that reaches the
// system only through a platform backend (platform/). Start-up creates the
// launcher window Form1 (launcher/Unit1: the grid, the slot table and the
// settings file), the about box Form2 (launcher/Unit2) and the hint window
// Form3 (launcher/Unit3), in that order, then runs the message loop until
// the launcher window closes. The widgets the windows are built from live in
// widgets/. One copy runs per settings file: a later start hands its request
// (app/CommandLine) to the running copy and ends.
#pragma once

#include "gui/Application.h"
#include "platform/Platform.h"

namespace launcher {
class TForm1;
class TForm2;
class TForm3;
}  // namespace launcher

namespace app {

class TSorimo {
public:
    explicit TSorimo(platform::Platform& platform);
    ~TSorimo();
    TSorimo(const TSorimo&) = delete;
    TSorimo& operator=(const TSorimo&) = delete;

    // Creates the three windows. False when a window's stored layout failed:
    // the error has been shown and the program ends with exit code 1.
    bool Start();
    // Runs the loop until the launcher window closes; the exit code: 0, or 1
    // when the session ended and the settings could not be written.
    int Run();
    // The session ends (logoff, SIGTERM, lost display): save all and end.
    void EndSession();

    gui::TApplication Application;
    launcher::TForm1* Form1 = nullptr;
    launcher::TForm2* Form2 = nullptr;
    launcher::TForm3* Form3 = nullptr;

private:
    bool form1Built_ = false;  // Form1 is constructed: its settings were read
    int exitCode_ = 0;
};

// Start-up, loop and shutdown on the given platform: the process's exit code.
// When a copy of the program already runs for the same settings file, it is
// handed `request` instead, and this start ends at once with 0.
int SorimoMain(platform::Platform& platform,
               platform::StartRequest request = platform::StartRequest::Activate);

}  // namespace app
