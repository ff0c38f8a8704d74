#include "i18n/Messages.h"

#include <filesystem>

namespace i18n {

std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string text;
    auto next = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == 's' || pattern[i + 1] == '%')) {
            if (pattern[++i] == '%')
                text += '%';
            else if (next != args.end())
                text += *next++;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

std::string CatalogFolderFor(const std::string& executable) {
    const std::filesystem::path folder = std::filesystem::path(executable).parent_path();
    return (folder.parent_path() / "share" / "locale").string();
}

}  // namespace i18n
