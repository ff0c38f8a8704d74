#include "platform/xdg/launch/ShellLauncher.h"

#include <cerrno>
#include <filesystem>

#include "platform/xdg/launch/ChildProcesses.h"
#include "platform/xdg/GLibHandles.h"
#include "platform/xdg/KeyFile.h"
#include "platform/xdg/launch/LaunchDecision.h"
#include "platform/xdg/launch/Spawn.h"

namespace platform::xdg {

namespace {

namespace fs = std::filesystem;
using namespace shell_result;

int ResultOfErrno(int error) {
    switch (error) {
        case ENOENT: return kFileNotFound;
        case ENOTDIR: return kPathNotFound;
        case EACCES:
        case EPERM: return kAccessDenied;
        case ENOEXEC: return kBadFormat;
        case ENOMEM: return kOutOfMemory;
        default: return kOutOfResources;
    }
}

int ResultOfGError(const Gio& gio, const GErrorSlot& error) {
    if (error->domain == gio.g_io_error_quark()) {
        if (error->code == G_IO_ERROR_NOT_FOUND) return kFileNotFound;
        if (error->code == G_IO_ERROR_PERMISSION_DENIED) return kAccessDenied;
    }
    if (error->domain == gio.g_spawn_error_quark()) {
        if (error->code == G_SPAWN_ERROR_NOENT) return kFileNotFound;
        if (error->code == G_SPAWN_ERROR_ACCES || error->code == G_SPAWN_ERROR_PERM)
            return kAccessDenied;
        if (error->code == G_SPAWN_ERROR_NOEXEC) return kBadFormat;
    }
    // Above all G_IO_ERROR_NOT_SUPPORTED: no application handles the type.
    return kNoAssociation;
}

// A child's working directory changes how a relative path resolves, so
// every path handed on is made absolute first.
std::string ResolvePath(const ShellOpenRequest& request) {
    fs::path file(request.File);
    if (file.is_relative() && !request.Directory.empty()) file = fs::path(request.Directory) / file;
    std::error_code ec;
    const fs::path absolute = fs::absolute(file, ec);
    return ec ? file.string() : absolute.string();
}

// Quoting rules only: no variables, globs, substitutions or separators.
bool SplitParameters(GioLibrary& library, const std::string& parameters, std::vector<std::string>& argv) {
    if (parameters.find_first_not_of(" \t") == std::string::npos) return true;
    const Gio* gio = library.Get();
    if (!gio) return false;
    gchar** parsed = nullptr;
    if (!gio->g_shell_parse_argv(parameters.c_str(), nullptr, &parsed, nullptr)) return false;
    const GStrvPtr owner(parsed, GStrvFree{gio});
    for (gchar** arg = parsed; *arg; ++arg) argv.emplace_back(*arg);
    return true;
}

}  // namespace

int LinuxLauncher::Open(const ShellOpenRequest& request) {
    const std::string path = ResolvePath(request);
    switch (ClassifyLaunch(path)) {
        case LaunchKind::Missing: return kFileNotFound;
        case LaunchKind::DesktopEntry: return StartDesktopEntry(path);
        case LaunchKind::Program: return RunProgram(path, request);
        case LaunchKind::Document: return OpenWithDefaultHandler(path);
    }
    return kOutOfResources;
}

int LinuxLauncher::StartDesktopEntry(const std::string& path) {
    const Gio* gio = gio_.Get();
    if (!gio) return kNoAssociation;
    const auto app = OwnObject(*gio, gio->g_desktop_app_info_new_from_filename(path.c_str()));
    if (!app) return OpenLinkEntry(path);  // a link, or not an entry at all
    GErrorSlot error(*gio);
    if (!gio->g_app_info_launch(reinterpret_cast<GAppInfo*>(app.get()), nullptr, nullptr, error.Out()))
        return ResultOfGError(*gio, error);
    return kOpened;
}

// A link entry (Type=Link) opens its URL with the desktop's default handler
// for it: a web page in the browser, a file or folder with its application.
int LinuxLauncher::OpenLinkEntry(const std::string& path) {
    const std::optional<KeyFile> entry = KeyFile::Load(path, kMaxDesktopEntryBytes);
    if (!entry || entry->Value("Desktop Entry", "Type") != "Link") return kNoAssociation;
    const std::string url = entry->Value("Desktop Entry", "URL").value_or("");
    if (url.empty()) return kNoAssociation;
    if (url.front() == '/') return OpenWithDefaultHandler(url);
    return OpenUri(url);
}

int LinuxLauncher::OpenWithDefaultHandler(const std::string& path) {
    const Gio* gio = gio_.Get();
    if (!gio) return kNoAssociation;
    const auto file = OwnObject(*gio, gio->g_file_new_for_path(path.c_str()));
    return OpenUri(TakeString(*gio, gio->g_file_get_uri(file.get())));
}

int LinuxLauncher::OpenUri(const std::string& uri) {
    const Gio* gio = gio_.Get();
    if (!gio) return kNoAssociation;
    GErrorSlot error(*gio);
    if (!gio->g_app_info_launch_default_for_uri(uri.c_str(), nullptr, error.Out()))
        return ResultOfGError(*gio, error);
    return kOpened;
}

int LinuxLauncher::RunProgram(const std::string& path, const ShellOpenRequest& request) {
    SpawnOptions options;
    options.Argv.push_back(path);
    if (!SplitParameters(gio_, request.Parameters, options.Argv)) return kBadFormat;
    if (!request.Directory.empty()) {
        std::error_code ec;
        if (!fs::is_directory(request.Directory, ec)) return kPathNotFound;
        options.Directory = request.Directory;
    }
    const SpawnResult spawned = SpawnChild(options);
    if (spawned.Pid <= 0) return ResultOfErrno(spawned.Error);
    children_.Watch(spawned.Pid);
    return kOpened;
}

}  // namespace platform::xdg
