#include "app/Sorimo.h"

#include <cstdio>
#include <stdexcept>
#include <string>

#include "launcher/Unit1.h"
#include "launcher/Unit2.h"
#include "launcher/Unit3.h"
#include "widgets/TaskTray.h"

namespace app {

TSorimo::TSorimo(platform::Platform& platform) : Application(platform) {}

TSorimo::~TSorimo() = default;

bool TSorimo::Start() {
    widgets::TTrayUnit::Start(Application);
    Application.OnSessionEnd = [this] { EndSession(); };
    try {
        Application.CreateForm(Form1);
        form1Built_ = true;
        if (Application.Terminated()) {
            // The session ended while the launcher was being built: save
            // what it has read, and build nothing more.
            EndSession();
            return true;
        }
        Application.CreateForm(Form2);
        Application.CreateForm(Form3);
    } catch (const std::exception& e) {
        Application.ShowException(e.what());
        return false;
    }
    Form1->Form2 = Form2;
    Form1->Form3 = Form3;
    Application.OnMonitorsChanged = [this] { Form1->MonitorsChanged(); };
    Application.OnStartRequest = [this](platform::StartRequest request) {
        if (request == platform::StartRequest::Toggle)
            Form1->ToggleShown();
        else
            Form1->ComeForward();
    };
    return true;
}

void TSorimo::EndSession() {
    // The session ends without the launcher's close: keep what the user did
    // (position, row offset, slots) by writing the whole file now. There is
    // nobody left to see an error box: a refused write is one line on
    // stderr (a terminal, the session's log) and the exit status. A
    // launcher still being built has not read its settings yet, or is
    // reading them: writing then could replace them with defaults, so Start
    // saves once it is built.
    try {
        if (form1Built_) Form1->SaveAllSettings();
    } catch (const std::exception& e) {
        std::string line = e.what();
        for (std::size_t at; (at = line.find('\n')) != std::string::npos;) line.replace(at, 1, ": ");
        std::fprintf(stderr, "sorimo: %s\n", line.c_str());
        exitCode_ = 1;
    }
    Application.Terminate();
}

int TSorimo::Run() {
    // Ended during start-up: the window is never shown.
    if (!Application.Terminated()) Application.Run();
    return exitCode_;
}

int SorimoMain(platform::Platform& platform, platform::StartRequest request) {
    try {
        if (!platform.BecomeRunningCopy(request)) return 0;
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "sorimo: %s\n", e.what());
        return 1;
    }
    TSorimo program(platform);
    if (!program.Start()) return 1;
    return program.Run();
}

}  // namespace app
