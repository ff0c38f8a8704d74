#include "platform/xdg/launch/ChooserCommand.h"

#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "i18n/Messages.h"
#include "platform/xdg/SplitText.h"

namespace platform::xdg {

namespace {

struct FilterEntry {
    std::string Name;
    std::vector<std::string> Patterns;
};

// "Name|*.a;*.b|Other|*.*" into its pairs. "*.*" means every file on the
// system the filter strings come from; here that is "*" (names need no dot).
std::vector<FilterEntry> ParseFilter(const std::string& filter) {
    const std::vector<std::string> parts = SplitText(filter, '|');
    std::vector<FilterEntry> entries;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        FilterEntry entry{parts[i], {}};
        for (std::string pattern : SplitText(parts[i + 1], ';')) {
            if (pattern == "*.*") pattern = "*";
            if (!pattern.empty()) entry.Patterns.push_back(pattern);
        }
        if (!entry.Patterns.empty()) entries.push_back(std::move(entry));
    }
    return entries;
}

// The dialog's title, as the classic open-file dialog names itself.
std::string ChooserTitle() { return i18n::Tr("Open"); }

std::string Join(const std::vector<std::string>& parts, const std::string& separator) {
    std::string joined;
    for (const std::string& part : parts) joined += (joined.empty() ? "" : separator) + part;
    return joined;
}

std::vector<std::string> ZenityArguments(std::string program, const OpenFileRequest& request) {
    std::vector<std::string> argv{std::move(program), "--file-selection",
                                  "--title=" + ChooserTitle()};
    if (!request.InitialFile.empty()) argv.push_back("--filename=" + request.InitialFile);
    for (const FilterEntry& entry : ParseFilter(request.Filter))
        argv.push_back("--file-filter=" + entry.Name + " | " + Join(entry.Patterns, " "));
    return argv;
}

std::vector<std::string> KdialogArguments(std::string program, const OpenFileRequest& request) {
    std::vector<std::string> filters;
    for (const FilterEntry& entry : ParseFilter(request.Filter))
        filters.push_back(Join(entry.Patterns, " ") + "|" + entry.Name);
    std::vector<std::string> argv{std::move(program), "--title", ChooserTitle(),
                                  "--getopenfilename",
                                  request.InitialFile.empty() ? "." : request.InitialFile};
    if (!filters.empty()) argv.push_back(Join(filters, "\n"));
    return argv;
}

bool OnKde(const std::string& desktop) {
    for (const std::string& name : SplitText(desktop, ':'))
        if (name == "KDE") return true;
    return false;
}

}  // namespace

std::optional<std::string> FindProgram(const std::string& program, const std::string& searchPath) {
    for (const std::string& dir : SplitText(searchPath, ':')) {
        if (dir.empty()) continue;  // an empty entry would mean our working directory
        const std::string path = dir + "/" + program;
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::access(path.c_str(), X_OK) == 0)
            return path;
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> ChooserCommand(const OpenFileRequest& request,
                                                       const std::string& desktop,
                                                       const std::string& searchPath) {
    const auto zenity = FindProgram("zenity", searchPath);
    const auto kdialog = FindProgram("kdialog", searchPath);
    if (kdialog && (OnKde(desktop) || !zenity)) return KdialogArguments(*kdialog, request);
    if (zenity) return ZenityArguments(*zenity, request);
    return std::nullopt;
}

}  // namespace platform::xdg
