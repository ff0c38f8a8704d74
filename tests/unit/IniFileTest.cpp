#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "settings/IniText.h"
#include "settings/SettingsFileName.h"
#include "tests/support/TempDir.h"

namespace settings {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

using testing_support::TempDir;

using testing_support::ReadFile;
using testing_support::WriteFile;

std::size_t EntriesIn(const fs::path& folder) {
    return std::size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// A settings file in its own folder, created with the given bytes.
class IniFileTest : public ::testing::Test {
protected:
    TIniFile Ini(const std::string& bytes) {
        WriteFile(name_, bytes);
        return TIniFile(name_);
    }
    std::string Bytes() const { return ReadFile(name_); }

    TempDir folder_;
    std::string name_ = folder_.File("Sorimo.INI");
};

// --- Reading ------------------------------------------------------------

using IniRead = IniFileTest;

TEST_F(IniRead, MissingFileGivesDefaultsAndIsNotCreated) {
    const TIniFile ini(name_);
    EXPECT_EQ(ini.ReadString("FILES", "1", "NOFILE"), "NOFILE");
    EXPECT_EQ(ini.ReadInteger("FORM", "OFFSET", 1), 1);
    EXPECT_FALSE(fs::exists(name_));
}

TEST_F(IniRead, NamesMatchWithoutRegardToCase) {
    const TIniFile ini = Ini("[form]\r\nleft=-40\r\n[Files]\r\n3=C:\\x.exe\r\n");
    EXPECT_EQ(ini.ReadInteger("FORM", "LEFT", 0), -40);
    EXPECT_EQ(ini.ReadString("FILES", "3", "NOFILE"), "C:\\x.exe");
}

TEST_F(IniRead, KeysBelongToTheirSectionOnly) {
    const TIniFile ini = Ini("LEFT=1\r\n[FILES]\r\nLEFT=2\r\n[FORM]\r\nTOP=3\r\n");
    EXPECT_EQ(ini.ReadInteger("FORM", "LEFT", 0), 0);
    EXPECT_EQ(ini.ReadInteger("FORM", "TOP", 0), 3);
}

TEST_F(IniRead, FirstOfDuplicateSectionsAndKeysWins) {
    const TIniFile ini = Ini("[FORM]\nLEFT=1\nLEFT=2\n[FORM]\nLEFT=3\nTOP=4\n");
    EXPECT_EQ(ini.ReadInteger("FORM", "LEFT", 0), 1);
    EXPECT_EQ(ini.ReadInteger("FORM", "TOP", 0), 0) << "a later duplicate section is not searched";
}

TEST_F(IniRead, NamesAndValuesAreTrimmedAndOneQuotePairRemoved) {
    const TIniFile ini = Ini(
        "  [ FILES ]  \n"
        "\t 1 \t=\t C:\\a b.txt \t\n"
        "2='quoted'\n"
        "3=\" keeps inner blanks \"\n"
        "4='mismatched\"\n"
        "5='\n"
        "6=''\n"
        "7=\"\"x\"\"\n");
    EXPECT_EQ(ini.ReadString("FILES", "1", ""), "C:\\a b.txt");
    EXPECT_EQ(ini.ReadString("FILES", "2", ""), "quoted");
    EXPECT_EQ(ini.ReadString("FILES", "3", ""), " keeps inner blanks ");
    EXPECT_EQ(ini.ReadString("FILES", "4", ""), "'mismatched\"");
    EXPECT_EQ(ini.ReadString("FILES", "5", ""), "'");
    EXPECT_EQ(ini.ReadString("FILES", "6", "-"), "");
    EXPECT_EQ(ini.ReadString("FILES", "7", ""), "\"x\"");
}

TEST_F(IniRead, EmptyValueIsNotTheDefault) {
    const TIniFile ini = Ini("[FILES]\r\n1=\r\n2=  \t\r\n3\r\n");
    EXPECT_EQ(ini.ReadString("FILES", "1", "NOFILE"), "");
    EXPECT_EQ(ini.ReadString("FILES", "2", "NOFILE"), "");
    EXPECT_EQ(ini.ReadString("FILES", "3", "NOFILE"), "NOFILE") << "a line without '=' is no key";
}

// Values are cut only where the platform's profile call cuts them (2047 on
// Windows); elsewhere a value comes back whole.
TEST_F(IniRead, LongValuesAreCutOnlyAtThePlatformLimit) {
    const std::string value(3000, 'v');
    const TIniFile ini = Ini("[FILES]\r\n1=" + value + "\r\n");
    EXPECT_EQ(ini.ReadString("FILES", "1", ""), value.substr(0, TIniFile::kMaxValueLength));
    EXPECT_EQ(ini.ReadString("FILES", "2", value).size(),
              std::min<std::size_t>(3000, TIniFile::kMaxValueLength));
    EXPECT_TRUE(TIniFile::kMaxValueLength == 2047 || TIniFile::kMaxValueLength >= 100000);
}

// A 3,000-byte path read back as its first 2047 bytes named another,
// missing file, and the first launch then emptied the slot.
TEST_F(IniRead, APathOf4095BytesAndAValueOf100000RoundTripByteForByte) {
    std::string path;
    for (int i = 0; path.size() < 4095; ++i) path += "/d\xC3\xA9j\xE0 vu$;'x" + std::to_string(i);
    path.resize(4095);
    path.back() = 'z';  // no trailing blank, which reading trims
    const std::string value(100000, 'w');
    TIniFile ini(name_);
    ini.WriteString("FILES", "1", path);
    ini.WriteString("FILES", "2", value);
    EXPECT_EQ(Bytes(), "[FILES]\r\n1=" + path + "\r\n2=" + value + "\r\n");
    EXPECT_EQ(ini.ReadString("FILES", "1", ""), path.substr(0, TIniFile::kMaxValueLength));
    EXPECT_EQ(ini.ReadString("FILES", "2", ""), value.substr(0, TIniFile::kMaxValueLength));
    if (TIniFile::kMaxValueLength > 2047) {
        EXPECT_EQ(ini.ReadString("FILES", "1", ""), path);
        EXPECT_EQ(ini.ReadString("FILES", "2", ""), value);
    }
}

TEST_F(IniRead, AcceptsCrLfLfAndCrLineBreaks) {
    const TIniFile ini = Ini("[FORM]\r\nLEFT=1\nTOP=2\rOFFSET=3\n\r[FILES]\r1=x");
    EXPECT_EQ(ini.ReadInteger("FORM", "LEFT", 0), 1);
    EXPECT_EQ(ini.ReadInteger("FORM", "TOP", 0), 2);
    EXPECT_EQ(ini.ReadInteger("FORM", "OFFSET", 0), 3);
    EXPECT_EQ(ini.ReadString("FILES", "1", ""), "x");
}

TEST_F(IniRead, ByteOrderMarkIsNotPartOfTheFirstName) {
    const TIniFile ini = Ini("\xEF\xBB\xBF[FORM]\r\nLEFT=4\r\n");
    EXPECT_EQ(ini.ReadInteger("FORM", "LEFT", 0), 4);
}

TEST_F(IniRead, SectionLineWithoutBracketIsNamedToItsEnd) {
    const TIniFile ini = Ini("[FORM\r\nLEFT=4\r\n[FILES] trailing words\r\n1=a\r\n");
    EXPECT_EQ(ini.ReadInteger("FORM", "LEFT", 0), 4);
    EXPECT_EQ(ini.ReadString("FILES", "1", ""), "a");
}

TEST_F(IniRead, NulEndsTheMeaningfulPartOfALine) {
    const TIniFile ini = Ini("[FORM]\nLEFT=4\0junk\nTOP\0=5\n\0[FILES]\nOFFSET=6\n"s);
    EXPECT_EQ(ini.ReadInteger("FORM", "LEFT", 0), 4);
    EXPECT_EQ(ini.ReadInteger("FORM", "TOP", 0), 0);
    EXPECT_EQ(ini.ReadInteger("FORM", "OFFSET", 0), 6) << "a line starting with NUL opens no section";
}

// --- Integers -------------------------------------------------------------

TEST(IniInteger, DecimalWithinThirtyTwoBits) {
    EXPECT_EQ(ParseIniInteger("0"), 0);
    EXPECT_EQ(ParseIniInteger("-40"), -40);
    EXPECT_EQ(ParseIniInteger("+5"), 5);
    EXPECT_EQ(ParseIniInteger("007"), 7);
    EXPECT_EQ(ParseIniInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseIniInteger("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseIniInteger("2147483648"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("99999999999"), std::nullopt);
}

TEST(IniInteger, HexadecimalAfterZeroXOrDollar) {
    EXPECT_EQ(ParseIniInteger("0x3"), 3);
    EXPECT_EQ(ParseIniInteger("0X1f"), 31);
    EXPECT_EQ(ParseIniInteger("$1F"), 31);
    EXPECT_EQ(ParseIniInteger("0xFFFFFFFF"), -1);
    EXPECT_EQ(ParseIniInteger("0x100000000"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("0x"), std::nullopt) << "two characters are no hexadecimal number";
    EXPECT_EQ(ParseIniInteger("$"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("0xG"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("-0x5"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("$-5"), std::nullopt);
}

TEST(IniInteger, AnythingElseIsNoInteger) {
    for (const char* text : {"", "abc", "12abc", "1 2", " 5", "+", "-", "+-5", "--5", "1.5", "0x5 "}) {
        EXPECT_EQ(ParseIniInteger(text), std::nullopt) << '"' << text << '"';
    }
}

TEST_F(IniRead, IntegerThatIsNoneGivesTheDefault) {
    const TIniFile ini = Ini("[FORM]\r\nLEFT=0x3\r\nTOP='7'\r\nOFFSET=abc\r\nX=\r\nY=99999999999\r\n");
    EXPECT_EQ(ini.ReadInteger("FORM", "LEFT", 0), 3);
    EXPECT_EQ(ini.ReadInteger("FORM", "TOP", 0), 7);
    EXPECT_EQ(ini.ReadInteger("FORM", "OFFSET", 1), 1);
    EXPECT_EQ(ini.ReadInteger("FORM", "X", 9), 9);
    EXPECT_EQ(ini.ReadInteger("FORM", "Y", 9), 9);
}

// --- Writing --------------------------------------------------------------

using IniWrite = IniFileTest;

TEST_F(IniWrite, FileWrittenFromScratchHoldsExactlyTheKeysInOrder) {
    TIniFile ini(name_);
    ini.WriteInteger("FORM", "LEFT", 0);
    ini.WriteInteger("FORM", "TOP", -40);
    ini.WriteInteger("FORM", "OFFSET", 1);
    std::string expected = "[FORM]\r\nLEFT=0\r\nTOP=-40\r\nOFFSET=1\r\n[FILES]\r\n";
    for (int k = 1; k <= 28; ++k) {
        ini.WriteString("FILES", std::to_string(k), "NOFILE");
        expected += std::to_string(k) + "=NOFILE\r\n";
    }
    EXPECT_EQ(Bytes(), expected);
}

TEST_F(IniWrite, ExistingKeyIsRewrittenInItsLine) {
    TIniFile ini = Ini("[FORM]\r\nLEFT=5\r\nTOP=7\r\n[FILES]\r\n12=old\r\n13=keep\r\n");
    ini.WriteInteger("FORM", "LEFT", -40);
    ini.WriteString("FILES", "12", "C:\\new.txt");
    EXPECT_EQ(Bytes(), "[FORM]\r\nLEFT=-40\r\nTOP=7\r\n[FILES]\r\n12=C:\\new.txt\r\n13=keep\r\n");
}

TEST_F(IniWrite, MissingKeyFollowsTheLastKeyOfItsSection) {
    TIniFile ini = Ini("[FORM]\nLEFT=5\n; note\n\n[FILES]\n[EMPTY]\n");
    ini.WriteInteger("FORM", "TOP", 3);
    ini.WriteString("FILES", "1", "a");
    EXPECT_EQ(Bytes(), "[FORM]\nLEFT=5\nTOP=3\r\n; note\n\n[FILES]\n1=a\r\n[EMPTY]\n");
}

TEST_F(IniWrite, KeyAfterALastLineWithoutBreakStartsALineOfItsOwn) {
    TIniFile ini = Ini("[FORM]\nLEFT=5");
    ini.WriteInteger("FORM", "TOP", 3);
    EXPECT_EQ(Bytes(), "[FORM]\nLEFT=5\r\nTOP=3\r\n");
}

TEST_F(IniWrite, MissingSectionIsAddedAtTheEnd) {
    TIniFile ini = Ini("[FILES]\n3=x");
    ini.WriteInteger("FORM", "LEFT", 0);
    ini.WriteInteger("FORM", "TOP", 0);
    EXPECT_EQ(Bytes(), "[FILES]\n3=x\r\n[FORM]\r\nLEFT=0\r\nTOP=0\r\n");
}

TEST_F(IniWrite, MatchesExistingNamesWithoutRegardToCase) {
    TIniFile ini = Ini("[form]\nleft=1\n");
    ini.WriteInteger("FORM", "LEFT", 2);
    EXPECT_EQ(Bytes(), "[form]\nLEFT=2\r\n");
}

TEST_F(IniWrite, FirstOfDuplicatesIsRewritten) {
    TIniFile ini = Ini("[FORM]\nLEFT=1\nLEFT=2\n[FORM]\nLEFT=3\n");
    ini.WriteInteger("FORM", "LEFT", 9);
    ini.WriteInteger("FORM", "TOP", 4);
    EXPECT_EQ(Bytes(), "[FORM]\nLEFT=9\r\nLEFT=2\nTOP=4\r\n[FORM]\nLEFT=3\n");
}

TEST_F(IniWrite, OtherLinesAreKeptByteForByte) {
    const std::string before =
        "\xEF\xBB\xBF; top comment\r\n\r\ngarbage \x01\x80\xFF line\n"
        "[FORM]\r\n# hash comment\r\n\tLEFT = 1 \r\n"
        "tail\0with NUL\n\n"s;
    TIniFile ini = Ini(before);
    ini.WriteInteger("FORM", "LEFT", 2);
    EXPECT_EQ(Bytes(),
              "\xEF\xBB\xBF; top comment\r\n\r\ngarbage \x01\x80\xFF line\n"
              "[FORM]\r\n# hash comment\r\nLEFT=2\r\n"
              "tail\0with NUL\n\n"s);
}

TEST_F(IniWrite, ByteOrderMarkStaysWhenTheFirstLineIsRewritten) {
    TIniFile ini = Ini("\xEF\xBB\xBF[FORM]\r\nLEFT=4\r\n");
    ini.WriteString("form", "left", "5");
    EXPECT_EQ(Bytes(), "\xEF\xBB\xBF[FORM]\r\nleft=5\r\n");
}

TEST_F(IniWrite, ValueReadsBackAsWritten) {
    TIniFile ini(name_);
    const std::string path = "C:\\Program Files\\テスト\\a=b;c.exe";
    ini.WriteString("FILES", "5", path);
    ini.WriteString("FILES", "6", "");
    EXPECT_EQ(ini.ReadString("FILES", "5", ""), path);
    EXPECT_EQ(ini.ReadString("FILES", "6", "NOFILE"), "");
}

TEST_F(IniWrite, TextsThatWouldBreakTheLineAreRefused) {
    TIniFile ini = Ini("[FILES]\r\n1=a\r\n");
    EXPECT_THROW(ini.WriteString("FILES", "1", "x\r\nOFFSET=6"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("FILES", "1", "x\ny"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("FILES", "1", "x\ry"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("FILES", "1", "x\0y"s), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("FILES", "a=b", "x"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("FILES", "[1]", "x"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("FILES", " ", "x"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("FI]LES", "1", "x"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("", "1", "x"), std::invalid_argument);
    EXPECT_EQ(Bytes(), "[FILES]\r\n1=a\r\n");
}

TEST_F(IniWrite, SurvivesBinaryGarbage) {
    std::mt19937 random(7);
    std::string garbage(1 << 16, '\0');
    for (char& c : garbage) c = char(random());
    TIniFile ini = Ini(garbage);
    (void)ini.ReadString("FILES", "1", "");
    ini.WriteString("FILES", "1", "ok");
    EXPECT_EQ(ini.ReadString("FILES", "1", ""), "ok");
    EXPECT_EQ(Bytes().substr(0, garbage.size()), garbage);
}

TEST_F(IniWrite, LeavesNoTemporaryFileBehind) {
    TIniFile ini = Ini("[FORM]\r\n");
    ini.WriteInteger("FORM", "LEFT", 1);
    EXPECT_EQ(EntriesIn(folder_.Path()), 1u);
}

TEST_F(IniWrite, WritesThroughASymbolicLink) {
    const std::string real = folder_.File("real.INI");
    WriteFile(real, "[FORM]\r\nLEFT=1\r\n");
    std::error_code ec;
    fs::create_symlink(real, name_, ec);
    if (ec) GTEST_SKIP() << "no symbolic links here: " << ec.message();
    TIniFile(name_).WriteInteger("FORM", "LEFT", 2);
    EXPECT_TRUE(fs::is_symlink(name_));
    EXPECT_EQ(ReadFile(real), "[FORM]\r\nLEFT=2\r\n");
}

// Values the reader would trim or unquote were lost on the way through the
// file: they are written inside quotes and read back byte for byte.
TEST_F(IniWrite, ValuesWithOuterBlanksOrQuotesRoundTrip) {
    TIniFile ini(name_);
    const std::vector<std::string> paths = {"/a/b  ", "  /a/b", "\t/a/b\t", "/a/'q'",
                                            "/a/\"q\"", "'q'", "\"/a b\"", "\"", " "};
    for (std::size_t i = 0; i < paths.size(); ++i)
        ini.WriteString("FILES", std::to_string(i + 1), paths[i]);
    for (std::size_t i = 0; i < paths.size(); ++i)
        EXPECT_EQ(ini.ReadString("FILES", std::to_string(i + 1), "NOFILE"), paths[i]) << i;
}

TEST_F(IniWrite, PlainValuesAreWrittenWithoutQuotes) {
    TIniFile ini(name_);
    ini.WriteString("FILES", "1", "/a/b c");
    ini.WriteString("FILES", "2", "/a/'q'");
    ini.WriteString("FILES", "3", "/a/b  ");
    EXPECT_EQ(Bytes(), "[FILES]\r\n1=/a/b c\r\n2=/a/'q'\r\n3=\"/a/b  \"\r\n");
}

// A batch gives the same file as its writes one by one, with one replace.
TEST_F(IniWrite, BatchGivesTheSameBytesAsSingleWrites) {
    const std::string start = "; kept\r\n[FORM]\r\nLEFT=1\r\n[OTHER]\r\nx=y\r\n";
    TIniFile single = Ini(start);
    single.WriteInteger("FORM", "LEFT", -5);
    single.WriteInteger("FORM", "TOP", 7);
    single.WriteString("FILES", "1", "/a ");
    single.WriteString("form", "left", "9");
    const std::string expected = Bytes();

    TIniFile ini = Ini(start);
    TIniBatch batch;
    batch.WriteInteger("FORM", "LEFT", -5);
    batch.WriteInteger("FORM", "TOP", 7);
    batch.WriteString("FILES", "1", "/a ");
    batch.WriteString("form", "left", "9");
    EXPECT_THROW(batch.WriteString("FILES", "2", "x\ny"), std::invalid_argument);
    ini.Write(batch);
    EXPECT_EQ(Bytes(), expected);
    EXPECT_EQ(EntriesIn(folder_.Path()), 1u);
}

TEST_F(IniWrite, EmptyBatchDoesNotCreateTheFile) {
    TIniFile(name_).Write(TIniBatch());
    EXPECT_FALSE(fs::exists(name_));
}

// --- Refused writes -------------------------------------------------------

// True when a read-only file can still be written by this process (for
// example root).
bool FilePermissionsAreIgnored(const TempDir& folder) {
    const fs::path probe = folder.Path() / "probe";
    WriteFile(probe.string(), "x");
    fs::permissions(probe, fs::perms::owner_read);
    const bool writable = std::ofstream(probe, std::ios::app).is_open();
    fs::permissions(probe, fs::perms::owner_all);  // Windows deletes no read-only file
    fs::remove(probe);
    return writable;
}

// True when a read-only folder still takes new files (root; Windows, where
// the attribute does not protect a folder).
bool FolderPermissionsAreIgnored(const TempDir& folder) {
    const fs::path probe = folder.Path() / "probe";
    fs::create_directory(probe);
    fs::permissions(probe, fs::perms::owner_read | fs::perms::owner_exec);
    const bool writable = std::ofstream(probe / "file").is_open();
    fs::permissions(probe, fs::perms::owner_all);
    fs::remove_all(probe);
    return writable;
}

std::string CannotWrite(const std::string& name) { return name + " に書き込めません"; }

using IniWriteRefused = IniFileTest;

TEST_F(IniWriteRefused, FolderThatCannotExistNamesTheFile) {
    WriteFile(folder_.File("plain"), "not a folder");
    TIniFile ini(folder_.File("plain") + "/Sorimo.INI");
    try {
        ini.WriteInteger("FORM", "LEFT", 0);
        FAIL() << "the write was not refused";
    } catch (const ESettingsWriteError& e) {
        // The design's text, then the system's reason on a line of its own.
        const std::string message = e.what();
        const std::size_t lineBreak = message.find('\n');
        EXPECT_EQ(message.substr(0, lineBreak), CannotWrite(ini.FileName()));
        ASSERT_NE(lineBreak, std::string::npos);
        EXPECT_GT(message.size(), lineBreak + 1);
    }
}

TEST_F(IniWriteRefused, PathThatIsAFolderIsLeftAlone) {
    fs::create_directory(name_);
    EXPECT_EQ(TIniFile(name_).ReadString("FORM", "LEFT", "d"), "d");
    EXPECT_THROW(TIniFile(name_).WriteInteger("FORM", "LEFT", 0), ESettingsWriteError);
    EXPECT_TRUE(fs::is_directory(name_));
    EXPECT_EQ(EntriesIn(folder_.Path()), 1u);
}

TEST_F(IniWriteRefused, ReadOnlyFileKeepsItsContent) {
    if (FilePermissionsAreIgnored(folder_)) GTEST_SKIP() << "permission bits do not bind this user";
    TIniFile ini = Ini("[FORM]\r\nLEFT=1\r\n");
    fs::permissions(name_, fs::perms::owner_read);
    EXPECT_THROW(ini.WriteInteger("FORM", "LEFT", 2), ESettingsWriteError);
    EXPECT_EQ(Bytes(), "[FORM]\r\nLEFT=1\r\n");
    EXPECT_EQ(EntriesIn(folder_.Path()), 1u);
}

TEST_F(IniWriteRefused, ReadOnlyFolderWithoutTheFile) {
    if (FolderPermissionsAreIgnored(folder_)) GTEST_SKIP() << "permission bits do not bind this user";
    fs::permissions(folder_.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(TIniFile(name_).WriteInteger("FORM", "LEFT", 2), ESettingsWriteError);
    EXPECT_FALSE(fs::exists(name_));
}

// A folder that takes no new file still lets a writable file be rewritten.
TEST_F(IniWrite, ReadOnlyFolderRewritesAWritableFileInPlace) {
    TIniFile ini = Ini("[FORM]\r\nLEFT=1\r\n");
    fs::permissions(folder_.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    ini.WriteInteger("FORM", "LEFT", 2);
    EXPECT_EQ(Bytes(), "[FORM]\r\nLEFT=2\r\n");
    EXPECT_EQ(EntriesIn(folder_.Path()), 1u);
}

// --- Settings file name ---------------------------------------------------

TEST(SettingsFileName, ReplacesTheExtensionOfTheLastPathPart) {
    EXPECT_EQ(SettingsFileName("C:\\dir.x\\Sorimo.exe", "\\:"), "C:\\dir.x\\Sorimo.INI");
    EXPECT_EQ(SettingsFileName("C:\\a.b\\noext", "\\:"), "C:\\a.b\\noext.INI");
    EXPECT_EQ(SettingsFileName("D:name.exe", "\\:"), "D:name.INI");
    EXPECT_EQ(SettingsFileName("D:x.y", "\\:"), "D:x.INI");
    EXPECT_EQ(SettingsFileName("/usr/bin/sorimo", "/"), "/usr/bin/sorimo.INI");
    EXPECT_EQ(SettingsFileName("/opt/x.y/sorimo", "/"), "/opt/x.y/sorimo.INI");
    EXPECT_EQ(SettingsFileName("/opt/sorimo.tar.exe", "/"), "/opt/sorimo.tar.INI");
    EXPECT_EQ(SettingsFileName("sorimo", "/"), "sorimo.INI");
}

}  // namespace
}  // namespace settings
