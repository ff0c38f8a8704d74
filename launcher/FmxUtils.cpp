#include "launcher/FmxUtils.h"

#include <filesystem>
#include <system_error>

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

bool IsSpecialFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    return fs::is_fifo(status) || fs::is_character_file(status) || fs::is_block_file(status) ||
           fs::is_socket(status);
}

}  // namespace launcher
