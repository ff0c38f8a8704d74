#include "settings/ReplaceFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

#include "base/FileBytes.h"
#include "base/OpenFile.h"

namespace settings {

namespace {

namespace fs = std::filesystem;

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
// target (MoveFileEx, which replaces), so that the target is never seen
// half written. Files take their permissions from the folder here.
TTempOutcome ReplaceThroughTempFile(const fs::path& target, std::string_view bytes, std::error_code& ec) {
    const fs::path temp = TempPathBeside(target);
    if (!base::WriteFileBytes(temp, bytes)) {
        // No file made: the folder refused it. A file made but not filled:
        // the write failed (a full disk).
        std::error_code ignored;
        if (!fs::exists(temp, ignored)) return TTempOutcome::FolderRefused;
        fs::remove(temp, ignored);
        ec = std::make_error_code(std::errc::no_space_on_device);
        return TTempOutcome::WriteFailed;
    }
    fs::rename(temp, target, ec);
    if (!ec) return TTempOutcome::Replaced;
    std::error_code ignored;
    fs::remove(temp, ignored);
    return TTempOutcome::FolderRefused;
}

}  // namespace

std::error_code ReplaceFileContent(const fs::path& target, std::string_view bytes) {
    std::error_code ec;
    if (fs::exists(target, ec) && !base::IsWritableFile(target))
        return std::make_error_code(std::errc::permission_denied);
    switch (ReplaceThroughTempFile(target, bytes, ec)) {
        case TTempOutcome::Replaced: return {};
        case TTempOutcome::WriteFailed: return ec;
        case TTempOutcome::FolderRefused: break;
    }
    // The folder takes no new file: rewrite the file in place, when it
    // exists and is writable.
    std::error_code exists;
    if (!fs::exists(target, exists)) return std::make_error_code(std::errc::permission_denied);
    return RewriteFileInPlace(target, bytes);
}

// The part beyond the old end is written first and taken back when it does
// not fit, so the old bytes are overwritten only once the new ones have
// their place.
std::error_code RewriteFileInPlace(const fs::path& target, std::string_view bytes) {
    std::error_code ec;
    const std::uintmax_t oldSize = fs::file_size(target, ec);
    if (ec) return ec;
    base::FilePtr file = base::OpenFile(target, "r+b");
    if (!file) return std::make_error_code(std::errc::permission_denied);
    const auto fail = [&] { return std::make_error_code(std::errc::no_space_on_device); };
    if (bytes.size() > oldSize) {
        const std::string_view tail = bytes.substr(std::size_t(oldSize));
        if (std::fseek(file.get(), long(oldSize), SEEK_SET) != 0 ||
            std::fwrite(tail.data(), 1, tail.size(), file.get()) != tail.size() || std::fflush(file.get()) != 0) {
            file.reset();
            fs::resize_file(target, oldSize, ec);
            return fail();
        }
    }
    const std::size_t head = std::size_t(std::min<std::uintmax_t>(oldSize, bytes.size()));
    if (std::fseek(file.get(), 0, SEEK_SET) != 0 || std::fwrite(bytes.data(), 1, head, file.get()) != head ||
        std::fclose(file.release()) != 0)
        return fail();
    if (bytes.size() < oldSize) fs::resize_file(target, bytes.size(), ec);
    return ec;
}

}  // namespace settings
