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

bool IsDeletedFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path file(path);
    for (int links = 0; links < 40; ++links) {  // as many as the system follows
        const fs::file_status status = fs::symlink_status(file, ec);
        if (fs::is_symlink(status)) {
            const fs::path target = fs::read_symlink(file, ec);
            if (ec) return false;
            file = target.is_absolute() ? target : file.parent_path() / target;
            continue;
        }
        if (status.type() != fs::file_type::not_found) return false;
        return file.has_parent_path() && fs::is_directory(file.parent_path(), ec);
    }
    return false;
}

}  // namespace launcher
