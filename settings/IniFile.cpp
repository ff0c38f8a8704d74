#include "settings/IniFile.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <system_error>

#include "settings/FileBytes.h"
#include "settings/IniFileText.h"
#include "settings/IniText.h"

namespace gui {
namespace {

namespace fs = std::filesystem;

// " に書き込めません" ("cannot write to"), spelled as UTF-8 bytes so that the
// text does not depend on the compiler's source character set.
constexpr const char* kCannotWriteSuffix =
    " \xE3\x81\xAB\xE6\x9B\xB8\xE3\x81\x8D\xE8\xBE\xBC\xE3\x82\x81\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93";

// The file a name stands for: a symbolic link is written through, not
// replaced by a plain file.
fs::path WriteTarget(const std::string& fileName) {
    const fs::path path(fileName);
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return path;
    const fs::path target = fs::canonical(path, ec);
    return ec ? path : target;
}

fs::path TempPathBeside(const fs::path& target) {
    std::random_device random;
    const std::uint64_t tag = (std::uint64_t(random()) << 32) ^ random();
    std::string suffix = ".";  // built in steps: GCC 12 warns falsely on "." + string
    suffix += std::to_string(tag);
    suffix += ".tmp";
    fs::path temp = target;
    temp += suffix;
    return temp;
}

enum class TTempOutcome { Replaced, FolderRefused, WriteFailed };

// Writes the bytes to a new file beside the target and renames it over the
// target, so that the target is never seen half written.
TTempOutcome ReplaceThroughTempFile(const fs::path& target, std::string_view bytes) {
    const fs::path temp = TempPathBeside(target);
    std::error_code ec;
    if (!WriteFileBytes(temp, bytes)) {
        // No file made: the folder refused it. A file made but not filled:
        // the write failed (a full disk).
        if (!fs::exists(temp, ec)) return TTempOutcome::FolderRefused;
        fs::remove(temp, ec);
        return TTempOutcome::WriteFailed;
    }
    const fs::file_status old = fs::status(target, ec);
    if (fs::exists(old)) fs::permissions(temp, old.permissions(), ec);
    fs::rename(temp, target, ec);
    if (!ec) return TTempOutcome::Replaced;
    fs::remove(temp, ec);
    return TTempOutcome::FolderRefused;
}

// Replaces the file's content with `bytes`, or throws. When the folder takes
// no new file but the file itself is writable, the file is rewritten in
// place; only a failure in the middle of that rewrite (a full disk) can
// leave it damaged.
void ReplaceFileBytes(const std::string& fileName, std::string_view bytes) {
    const fs::path target = WriteTarget(fileName);
    std::error_code ec;
    if (fs::exists(target, ec) && !IsWritableFile(target)) throw ESettingsWriteError(fileName);
    switch (ReplaceThroughTempFile(target, bytes)) {
        case TTempOutcome::Replaced:
            return;
        case TTempOutcome::WriteFailed:
            throw ESettingsWriteError(fileName);
        case TTempOutcome::FolderRefused:
            break;
    }
    if (!WriteFileBytes(target, bytes)) throw ESettingsWriteError(fileName);
}

// The current text of a file about to be rewritten: empty when it does not
// exist yet; a file that exists but cannot be read is not overwritten.
std::string TextToRewrite(const std::string& fileName) {
    std::error_code ec;
    if (!fs::exists(fs::path(fileName), ec)) {
        if (ec) throw ESettingsWriteError(fileName);
        return {};
    }
    std::optional<std::string> bytes = ReadFileBytes(fileName);
    if (!bytes) throw ESettingsWriteError(fileName);
    return std::move(*bytes);
}

}  // namespace

ESettingsWriteError::ESettingsWriteError(const std::string& fileName)
    : std::runtime_error(fileName + kCannotWriteSuffix) {}

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view def) const {
    std::optional<std::string> bytes = ReadFileBytes(fileName_);
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

}  // namespace gui
