#include "launcher/FmxUtils.h"

#include "gui/Application.h"
#include "gui/Form.h"

namespace launcher {

int ShellOpenFile(gui::TApplication& app, const std::string& fileName, const std::string& params,
                  const std::string& defaultDir, int showCmd) {
    platform::ShellOpenRequest request;
    if (gui::TForm* main = app.MainForm()) request.Owner = main->Handle();
    request.File = fileName;
    request.Parameters = params;
    request.Directory = defaultDir;
    request.ShowCommand = showCmd;
    return app.Platform().ShellOpen(request);
}

}  // namespace launcher
