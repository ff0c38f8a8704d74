// A settings file in a Unicode form, read and written through a code page:
// here a stand-in for an ANSI code page that holds U+0000..U+00FF (Latin-1),
// so that the conversion rules are seen on every build.
#include "settings/IniFileText.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/IniText.h"
#include "settings/Utf16Text.h"

namespace settings {
namespace {

using namespace std::string_literals;

class TLatin1 final : public TTextCodePage {
public:
    std::string FromUtf16(std::u16string_view units) const override {
        std::string text;
        for (char16_t u : units) text += u <= 0xFF ? char(u) : '?';
        return text;
    }
    std::u16string ToUtf16(std::string_view text) const override {
        std::u16string units;
        for (char c : text) units += char16_t(static_cast<unsigned char>(c));
        return units;
    }
};

const TLatin1 kLatin1;

std::string Utf16Le(std::u16string_view units, bool mark = true) {
    std::string bytes = mark ? "\xFF\xFE" : "";
    for (char16_t u : units) {
        bytes += char(u & 0xFF);
        bytes += char(u >> 8);
    }
    return bytes;
}

std::string Utf16Be(std::u16string_view units) {
    std::string bytes = "\xFE\xFF";
    for (char16_t u : units) {
        bytes += char(u >> 8);
        bytes += char(u & 0xFF);
    }
    return bytes;
}

// A path with characters the code page has (é) and lacks (日本).
const std::u16string kLossyPath = u"C:\\\u65E5\u672C\\caf\u00E9.exe";

TEST(IniFileTextForm, OnlyAMarkAndACodePageMakeAConvertedFile) {
    EXPECT_EQ(TextFormOf("\xFF\xFE[", &kLatin1), TTextForm::Utf16Le);
    EXPECT_EQ(TextFormOf("\xFE\xFF\0[", &kLatin1), TTextForm::Utf16Be);
    EXPECT_EQ(TextFormOf("\xEF\xBB\xBF[", &kLatin1), TTextForm::Utf8);
    EXPECT_EQ(TextFormOf("[FORM]", &kLatin1), TTextForm::Bytes);
    EXPECT_EQ(TextFormOf("\xEF\xBB", &kLatin1), TTextForm::Bytes);
    // Without a code page (Linux) every file is its bytes, as before.
    const std::string utf16 = Utf16Le(u"[FILES]\r\n1=a\r\n");
    EXPECT_EQ(TextFormOf(utf16, nullptr), TTextForm::Bytes);
    TIniFileText file(utf16, nullptr);
    EXPECT_EQ(file.Text(), utf16);
    file.Set("FILES", "2", "b");
    EXPECT_EQ(file.Bytes(), SetIniValue(utf16, "FILES", "2", "b"));
}

TEST(IniFileTextRead, Utf16FileReadsInTheCodePageWithQuestionMarksForWhatItLacks) {
    const TIniFileText le(Utf16Le(u"[FORM]\r\nLEFT=12\r\n[FILES]\r\n5=" + kLossyPath + u"\r\n"), &kLatin1);
    EXPECT_EQ(le.Text(), "[FORM]\r\nLEFT=12\r\n[FILES]\r\n5=C:\\??\\caf\xE9.exe\r\n");
    EXPECT_EQ(FindIniValue(le.Text(), "FILES", "5"), "C:\\??\\caf\xE9.exe");
    const TIniFileText be(Utf16Be(u"[FILES]\n1=caf\u00E9\n"), &kLatin1);
    EXPECT_EQ(FindIniValue(be.Text(), "FILES", "1"), "caf\xE9");
}

TEST(IniFileTextRead, Utf8FileWithMarkReadsInTheCodePage) {
    const TIniFileText file("\xEF\xBB\xBF[FILES]\r\n1=caf\xC3\xA9\r\n2=\xE6\x97\xA5\r\n", &kLatin1);
    EXPECT_EQ(file.Form(), TTextForm::Utf8);
    EXPECT_EQ(FindIniValue(file.Text(), "FILES", "1"), "caf\xE9");
    EXPECT_EQ(FindIniValue(file.Text(), "FILES", "2"), "?");
}

TEST(IniFileTextWrite, Utf16FileKeepsItsMarkAndEveryOtherLineByteForByte) {
    // Lines the code page cannot hold, odd spacing and a comment: all kept.
    const std::u16string before = u"[FORM]\r\nLEFT = 12\r\n; \u65E5\r\n[FILES]\r\n1=" + kLossyPath + u"\r\n2=x\r\n";
    TIniFileText file(Utf16Le(before), &kLatin1);
    file.Set("FORM", "LEFT", "30");
    file.Set("FILES", "2", "caf\xE9");
    EXPECT_EQ(file.Bytes(), Utf16Le(u"[FORM]\r\nLEFT=30\r\n; \u65E5\r\n[FILES]\r\n1=" + kLossyPath +
                                    u"\r\n2=caf\u00E9\r\n"));
}

TEST(IniFileTextWrite, UnchangedValueThatReadWithQuestionMarksIsNotWrittenBackAsThem) {
    // Save-all writes every slot: a slot read as "C:\??\café.exe" and
    // written as read would lose the characters for good.
    const std::string bytes = Utf16Le(u"[FILES]\r\n1 = " + kLossyPath + u"\r\n");
    TIniFileText file(bytes, &kLatin1);
    file.Set("FILES", "1", *FindIniValue(file.Text(), "FILES", "1"));
    EXPECT_EQ(file.Bytes(), bytes);
    // A slot that changed is written, in the file's form.
    file.Set("FILES", "1", "NOFILE");
    EXPECT_EQ(file.Bytes(), Utf16Le(u"[FILES]\r\n1=NOFILE\r\n"));
}

TEST(IniFileTextWrite, KeysAndSectionsAddedToAUnicodeFileAreInItsForm) {
    TIniFileText utf16(Utf16Le(u"[FILES]\r\n1=\u65E5"), &kLatin1);  // no line break at the end
    utf16.Set("FILES", "2", "b");
    utf16.Set("FORM", "OFFSET", "3");
    EXPECT_EQ(utf16.Bytes(), Utf16Le(u"[FILES]\r\n1=\u65E5\r\n2=b\r\n[FORM]\r\nOFFSET=3\r\n"));

    TIniFileText utf8("\xEF\xBB\xBF[FILES]\n1=\xE6\x97\xA5\n", &kLatin1);
    utf8.Set("FILES", "2", "caf\xE9");
    EXPECT_EQ(utf8.Bytes(), "\xEF\xBB\xBF[FILES]\n1=\xE6\x97\xA5\n2=caf\xC3\xA9\r\n");

    TIniFileText empty(Utf16Be(u""), &kLatin1);
    empty.Set("FORM", "LEFT", "1");
    EXPECT_EQ(empty.Bytes(), Utf16Be(u"[FORM]\r\nLEFT=1\r\n"));
}

TEST(IniFileTextWrite, BrokenUnitsAndSequencesAreKeptWhereNothingChanged) {
    // A lone surrogate, an odd last byte; in UTF-8 a stray continuation byte.
    const std::string utf16 = Utf16Le(u"[A]\r\nk=\xD800\r\nx=1\r\n") + "\x41";
    TIniFileText file(utf16, &kLatin1);
    EXPECT_EQ(FindIniValue(file.Text(), "A", "k"), "?");
    file.Set("A", "x", "2");
    EXPECT_EQ(file.Bytes(), Utf16Le(u"[A]\r\nk=\xD800\r\nx=2\r\n") + "\x41");

    TIniFileText utf8("\xEF\xBB\xBF[A]\r\nk=\x80\r\nx=1\r\n", &kLatin1);
    utf8.Set("A", "x", "2");
    EXPECT_EQ(utf8.Bytes(), "\xEF\xBB\xBF[A]\r\nk=\x80\r\nx=2\r\n");
}

TEST(Utf16Text, ConvertsBothWaysWithSurrogatePairsAndReplacesWhatIsBroken) {
    EXPECT_EQ(Utf8ToUtf16("a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80"), u"a\u00E9\u65E5\U0001F600");
    EXPECT_EQ(Utf16ToUtf8(u"a\u00E9\u65E5\U0001F600"), "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80");
    // Overlong, surrogate and stray bytes: one U+FFFD per byte that begins
    // no sequence; a sequence cut short: one U+FFFD for it, as the text code
    // decodes (the shared codec).
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF|\xED\xA0\x80|\xE6\x97|\x80"),
              u"\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD|\uFFFD|\uFFFD");
    EXPECT_EQ(Utf16ToUtf8(u"\xDC00x\xD800"), "\xEF\xBF\xBDx\xEF\xBF\xBD");
}

}  // namespace
}  // namespace settings
