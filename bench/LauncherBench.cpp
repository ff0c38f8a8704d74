// The program on the headless backend: start-up to the first grid paint, an
// icon reload of 28 filled slots, the save of all settings at close, a full
// grid repaint, and a mouse move
// dispatched through a form with 20 controls.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/Sorimo.h"
#include "gui/Form.h"
#include "launcher/Unit1.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

namespace fs = std::filesystem;

// A settings file with 28 filled slots in a folder of its own.
class Settings {
public:
    Settings() {
        folder_ = fs::temp_directory_path() / ("sorimo-bench-" + std::to_string(getpid()));
        fs::create_directories(folder_);
        std::ofstream ini(folder_ / "sorimo.INI", std::ios::binary);
        ini << "[FORM]\r\nLEFT=10\r\nTOP=10\r\nOFFSET=1\r\n[FILES]\r\n";
        for (int k = 1; k <= 28; ++k) ini << k << "=/bench/file" << k << ".txt\r\n";
    }
    ~Settings() {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    std::string Executable() const { return (folder_ / "sorimo").string(); }

private:
    fs::path folder_;
};

// Every slot's file has an icon, as on a desktop with an icon theme.
void ScriptIcons(platform::HeadlessPlatform& platform) {
    gfx::TSurface pixels(32, 32, 0x3366CC);
    const gfx::TIcon icon(pixels, std::vector<std::uint8_t>(32 * 32, 255));
    for (int k = 1; k <= 28; ++k) platform.Icons["/bench/file" + std::to_string(k) + ".txt"] = icon;
}

void RunUntil(platform::HeadlessPlatform& platform, app::TSorimo& program, int ms) {
    bool done = false;
    platform.After(ms, [&] { done = true; });
    while (!done) program.Application.HandleMessage();
}

void BM_StartUpToFirstGridPaint(benchmark::State& state) {
    Settings settings;
    for (auto _ : state) {
        platform::HeadlessPlatform platform;
        platform.SetExecutablePath(settings.Executable());
        ScriptIcons(platform);
        app::TSorimo program(platform);
        program.Start();
        program.Form1->Show();
        RunUntil(platform, program, 51);  // the grid is drawn 50 ms after the first paint
        benchmark::DoNotOptimize(platform.Windows().size());
    }
}
BENCHMARK(BM_StartUpToFirstGridPaint)->Unit(benchmark::kMillisecond);

class Launcher {
public:
    Launcher() : program(platform) {
        platform.SetExecutablePath(settings.Executable());
        ScriptIcons(platform);
        program.Start();
        program.Form1->Show();
        RunUntil(platform, program, 1100);
    }
    Settings settings;
    platform::HeadlessPlatform platform;
    app::TSorimo program;
};

void BM_IconReload28Slots(benchmark::State& state) {
    Launcher launcher;
    for (auto _ : state) launcher.program.Form1->Button2Click(nullptr);
}
BENCHMARK(BM_IconReload28Slots)->Unit(benchmark::kMicrosecond);

// The save at close: position, offset and the 28 slots.
void BM_SaveAllSettings(benchmark::State& state) {
    Launcher launcher;
    for (auto _ : state) launcher.program.Form1->SaveAllSettings();
}
BENCHMARK(BM_SaveAllSettings)->Unit(benchmark::kMicrosecond);

void BM_FullGridRepaint(benchmark::State& state) {
    Launcher launcher;
    for (auto _ : state) launcher.program.Form1->Button1Click(nullptr);
}
BENCHMARK(BM_FullGridRepaint)->Unit(benchmark::kMicrosecond);

// A form with 20 windowless controls in a row; the pointer moves across
// them, so every move also changes the hovered control.
class Crowd : public gui::TForm {
public:
    explicit Crowd(gui::TApplication& app) : gui::TForm(app, platform::WindowKind::Main) {
        SetBounds(0, 0, 400, 40);
        for (int i = 0; i < 20; ++i) {
            auto& c = Own<gui::TGraphicControl>();
            c.SetParent(this);
            c.SetBounds(i * 20, 0, 20, 40);
            c.OnMouseMove = [this](gui::TComponent*, gfx::TShiftState, int, int) { ++moves; };
        }
    }
    long moves = 0;
};

void BM_MouseMoveThrough20Controls(benchmark::State& state) {
    platform::HeadlessPlatform platform;
    gui::TApplication app(platform);
    Crowd* form = nullptr;
    app.CreateForm(form);
    form->Show();
    app.ProcessMessages();
    int x = 0;
    for (auto _ : state) {
        platform.MoveTo(x, 20);
        app.ProcessMessages();
        x = (x + 7) % 400;
    }
    benchmark::DoNotOptimize(form->moves);
}
BENCHMARK(BM_MouseMoveThrough20Controls)->Unit(benchmark::kMicrosecond);

}  // namespace
