// sorimo-render launcher [--ini FILE]: the launcher window as it shows after
// start-up and its first grid paint, with the settings of FILE (none when
// omitted). The headless backend looks no file icons up, so filled slots
// show the bare cell face.
#include <unistd.h>

#include <filesystem>

#include "app/Sorimo.h"
#include "launcher/Unit1.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tools/render/Commands.h"

namespace render {

namespace fs = std::filesystem;

namespace {
// A private folder for the program's settings file, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder() {
        path_ = fs::temp_directory_path() / ("sorimo-render-" + std::to_string(::getpid()));
        fs::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};
}  // namespace

gfx::TSurface RenderLauncher(Arguments& args) {
    const std::optional<std::string> ini = args.TakeOption("--ini");
    args.ExpectEnd();
    ScratchFolder folder;
    if (ini) fs::copy_file(*ini, folder.Path() / "sorimo.INI");
    platform::HeadlessPlatform platform;
    platform.SetExecutablePath((folder.Path() / "sorimo").string());
    app::TSorimo program(platform);
    if (!program.Start()) throw std::runtime_error("the launcher could not start");
    program.Form1->Show();
    // Run past the first grid paint (50 ms after the window's first paint).
    bool done = false;
    platform.After(1100, [&] { done = true; });
    while (!done) program.Application.HandleMessage();
    program.Application.ProcessMessages();
    return platform.WindowByHandle(program.Form1->Handle())->Snapshot();
}

}  // namespace render
