// The settings file: a reader and writer of the INI form that the launcher
// keeps beside its executable, shared byte for byte with the Windows build.
//
// Form of the file, as read:
//  - the file is a sequence of bytes split into lines at CRLF, LF or CR;
//  - a line whose first non-blank byte is '[' opens a section named by the
//    bytes up to the next ']' (or to the end of the line when there is none);
//  - a line whose first non-blank byte is ';' is a comment;
//  - any other line holding '=' gives the key before the first '=' the value
//    after it; every other line is ignored;
//  - a NUL byte ends the meaningful part of a line: what follows it on that
//    line is ignored (but kept when the file is rewritten);
//  - names and values are trimmed of spaces and tabs; one pair of matching
//    outer quotes ('...' or "...") is removed from a value;
//  - section and key names are matched without regard to ASCII case; the
//    first of duplicate sections, and in it the first of duplicate keys, is
//    the one read and rewritten; keys above the first section belong to none;
//  - a UTF-8 byte order mark at the start of the file is skipped;
//  - on Windows a file that begins with a UTF-16 or UTF-8 byte order mark is
//    read in the ANSI code page and keeps its form and mark when written
//    (settings/IniFileText.h).
//
// Every read and every write opens, reads and closes the file itself; nothing
// is cached between calls, so two programs may share the file.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// A settings write that the file system refused. The message names the file,
// "<path> に書き込めません", and gives the system's reason on a second line.
class ESettingsWriteError : public std::runtime_error {
public:
    ESettingsWriteError(const std::string& fileName, const std::string& reason);
};

// Several keys to write with one read and one replace of the file. Each
// entry is checked as it is added (std::invalid_argument, see
// TIniFile::WriteString), so a batch that reaches the file is whole.
class TIniBatch {
public:
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    bool Empty() const { return entries_.empty(); }

private:
    friend class TIniFile;
    struct Entry {
        std::string Section;
        std::string Key;
        std::string Value;
    };
    std::vector<Entry> entries_;
};

class TIniFile {
public:
    // The longest text a read returns, in bytes; longer values are cut. On
    // Windows 2047, what the profile call returns (Windows paths end long
    // before); elsewhere no limit, since paths reach 4095 bytes and a cut
    // path names another file. Set per platform by ValueLength*.cpp.
    static const std::size_t kMaxValueLength;

    // `fileName` is the full path of the file; it appears as given in the
    // message of a refused write. Nothing is opened here.
    explicit TIniFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }

    // The value of `key` in `section`, or `def` when the file, the section or
    // the key is missing. A key with an empty value reads as "". The result
    // (the default too) is cut to kMaxValueLength bytes.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;

    // The value read as an integer: optional sign and decimal digits, or
    // hexadecimal after "0x"/"0X" (when more text follows it) or after "$".
    // Anything else, and a value that does not fit 32 bits, gives `def`.
    // Hexadecimal takes 32-bit patterns, so "0xFFFFFFFF" is -1.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;

    // Sets `key` in `section` to `value`. An existing key is rewritten in its
    // line; a missing key is added after the last key of its section; a
    // missing section is added with the key at the end of the file. The file
    // is created when missing. Lines written end in CRLF; every other line is
    // kept byte for byte. The value is written as it is, unless the reader
// would trim or unquote it: then inside double quotes (QuoteIniValue).
    // The file is replaced whole (ReplaceFileContent), so that no reader, no
    // crash and no full disk ever leaves it half written.
    //
    // Throws std::invalid_argument for names and values that cannot be
    // written as one line and read back as the same name (line breaks, NUL,
    // '=' in a key, ']' in a section, empty names), and ESettingsWriteError
    // when the file cannot be written; the old file is then left as it was.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    // Writes `value` as plain decimal, with '-' when negative.
    void WriteInteger(std::string_view section, std::string_view key, int value);

    // Writes every entry of the batch, in order, as WriteString would, with
    // one read and one replace of the file. Nothing is written when the
    // batch is empty; on a refused write the old file is left as it was.
    void Write(const TIniBatch& batch);

private:
    std::string fileName_;
};

}  // namespace settings
