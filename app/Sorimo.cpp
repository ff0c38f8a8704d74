#include "app/Sorimo.h"

#include "launcher/Unit1.h"
#include "launcher/Unit2.h"
#include "launcher/Unit3.h"

namespace app {

TSorimo::TSorimo(platform::Platform& platform) : Application(platform) {}

TSorimo::~TSorimo() = default;

bool TSorimo::Start() {
    try {
        Application.CreateForm(Form1);
        Application.CreateForm(Form2);
        Application.CreateForm(Form3);
    } catch (const std::exception& e) {
        Application.ShowException(e.what());
        return false;
    }
    Form1->Form2 = Form2;
    Form1->Form3 = Form3;
    return true;
}

int TSorimo::Run() {
    Application.Run();
    return 0;
}

int SorimoMain(platform::Platform& platform) {
    TSorimo program(platform);
    if (!program.Start()) return 1;
    return program.Run();
}

}  // namespace app
