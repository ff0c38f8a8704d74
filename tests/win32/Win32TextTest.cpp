// Texts between UTF-8, UTF-16 and the ANSI code page, and the dialog filter.
#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/WinText.h"
#include "platform/win32/Win32Shell.h"

namespace {

using namespace platform::gdi;

TEST(WinText, Utf8GoesToUtf16AndBack) {
    const std::string text = "すべてのファイル Sorimo";
    const std::wstring wide = Widen(text);
    EXPECT_EQ(wide.substr(0, 8), L"\u3059\u3079\u3066\u306e\u30d5\u30a1\u30a4\u30eb");
    EXPECT_EQ(Narrow(wide), text);
    EXPECT_EQ(Widen(""), L"");
}

// A path in the ANSI code page inside a message (a settings file that
// cannot be written) is no UTF-8: it is read in the ANSI code page. (Wine's
// ANSI code page here is 1252, which has the letter.)
TEST(WinText, BytesThatAreNoUtf8AreReadInTheAnsiCodePage) {
    EXPECT_EQ(Widen(ToAnsi("caf\xC3\xA9")), L"caf\u00e9");
}

TEST(DialogFilter, PairsBecomeNulSeparatedWithADoubleNulEnd) {
    const std::string filter = platform::win32::DialogFilter("All files|*.*|Texts|*.txt");
    EXPECT_EQ(filter, std::string("All files\0*.*\0Texts\0*.txt\0\0", 27));
}

}  // namespace
