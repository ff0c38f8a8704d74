#include "settings/IniFile.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "base/FileBytes.h"
#include "i18n/Messages.h"
#include "settings/IniFileText.h"
#include "settings/IniText.h"
#include "settings/ReplaceFile.h"

namespace settings {
namespace {

namespace fs = std::filesystem;

// The file a name stands for: a symbolic link is written through, not
// replaced by a plain file.
fs::path WriteTarget(const std::string& fileName) {
    const fs::path path(fileName);
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return path;
    const fs::path target = fs::canonical(path, ec);
    return ec ? path : target;
}

// Replaces the file's content with `bytes`, or throws; a refused replace
// leaves the file as it was.
void ReplaceFileBytes(const std::string& fileName, std::string_view bytes) {
    if (const std::error_code error = ReplaceFileContent(WriteTarget(fileName), bytes))
        throw ESettingsWriteError(fileName, error.message());
}

// The current text of a file about to be rewritten: empty when it does not
// exist yet; a file that exists but cannot be read is not overwritten.
std::string TextToRewrite(const std::string& fileName) {
    std::error_code ec;
    if (!fs::exists(fs::path(fileName), ec)) {
        if (ec) throw ESettingsWriteError(fileName, ec.message());
        return {};
    }
    std::optional<std::string> bytes = base::ReadFileBytes(fileName);
    if (!bytes) {
        const std::errc reason = fs::is_directory(fileName, ec)      ? std::errc::is_a_directory
                                 : fs::is_regular_file(fileName, ec) ? std::errc::io_error
                                                                     : std::errc::invalid_argument;
        throw ESettingsWriteError(fileName, std::make_error_code(reason).message());
    }
    return std::move(*bytes);
}

}  // namespace

ESettingsWriteError::ESettingsWriteError(const std::string& fileName, const std::string& reason)
    : std::runtime_error(i18n::Format(i18n::Tr("Cannot write to %s"), {fileName}) +
                         (reason.empty() ? "" : "\n" + reason)) {}

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view def) const {
    std::optional<std::string> bytes = base::ReadFileBytes(fileName_);
    std::optional<TIniFileText> file;
    std::optional<std::string_view> value;
    if (bytes) value = FindIniValue(file.emplace(std::move(*bytes), SettingsCodePage()).Text(), section, key);
    return std::string(value.value_or(def).substr(0, kMaxValueLength));
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
    return ParseIniInteger(ReadString(section, key, "")).value_or(def);
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    TIniBatch batch;
    batch.WriteString(section, key, value);
    Write(batch);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::Write(const TIniBatch& batch) {
    if (batch.Empty()) return;
    TIniFileText file(TextToRewrite(fileName_), SettingsCodePage());
    for (const TIniBatch::Entry& e : batch.entries_) file.Set(e.Section, e.Key, e.Value);
    ReplaceFileBytes(fileName_, file.Bytes());
}

void TIniBatch::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    CheckIniEntry(section, key, value);
    entries_.push_back({std::string(section), std::string(key), std::string(value)});
}

void TIniBatch::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

}  // namespace settings
