// A settings file's bytes as the INI text that the reader and writer work on.
//
// A file that begins with a byte order mark of UTF-16 (little or big endian)
// or UTF-8 is in a Unicode form. Where the platform has a settings code page
// (TextCodePage.h) such a file is converted to it line by line, as the
// profile calls of Windows do; writing it back converts only the lines that
// changed, so the mark stays and every other line keeps its bytes. Every
// other file, and every file where there is no code page, is its bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/TextCodePage.h"

namespace settings {

enum class TTextForm { Bytes, Utf8, Utf16Le, Utf16Be };

// The form a file's bytes are read in with `codePage` (Bytes without one).
TTextForm TextFormOf(std::string_view bytes, const TTextCodePage* codePage);

class TIniFileText {
public:
    // `codePage` outlives the object (null: the file is its bytes).
    TIniFileText(std::string bytes, const TTextCodePage* codePage);

    TTextForm Form() const { return form_; }
    // The text in the program's 8-bit characters (the form's mark left out).
    const std::string& Text() const { return text_; }

    // Sets the key as SetIniValue does (the entry must be valid, see
    // CheckIniEntry). In a converted file a key that already reads as
    // `value` keeps its line: characters that the code page lacks read as
    // '?', and writing them back would lose them.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    // The file's bytes for the text as it is now.
    std::string Bytes() const;

private:
    // One line: its bytes in the file's form (content, then line break) and
    // its content as text. A line whose text has not changed keeps its bytes.
    struct TLine {
        std::string RawContent;
        std::string RawBreak;
        std::string Content;
        std::string Break;  // "\r\n", "\n", "\r" or "" (the last line)
    };

    void Split(std::string_view body);
    std::string Decode(std::string_view raw) const;
    std::string Encode(std::string_view text) const;
    void Adopt(std::string newText);

    const TTextCodePage* codePage_;
    TTextForm form_;
    std::string mark_;
    std::vector<TLine> lines_;
    std::string trailer_;  // an odd last byte of a UTF-16 file
    std::string text_;
};

}  // namespace settings
