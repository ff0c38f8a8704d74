// The settings file in a Unicode form through the real ANSI code page (Wine's
// here is 1252 unless the test's locale says otherwise).
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "settings/IniFile.h"
#include "settings/TextCodePage.h"

namespace {

namespace fs = std::filesystem;
using settings::SettingsCodePage;

void NeedWesternCodePage() {
    if (::GetACP() != 1252) GTEST_SKIP() << "ANSI code page " << ::GetACP() << ", not 1252";
}

TEST(AnsiCodePage, ConvertsWhatItHoldsAndGivesQuestionMarksWithoutBestFit) {
    NeedWesternCodePage();
    const settings::TTextCodePage& cp = *SettingsCodePage();
    EXPECT_EQ(cp.FromUtf16(u"caf\u00E9"), "caf\xE9");
    EXPECT_EQ(cp.ToUtf16("caf\xE9"), u"caf\u00E9");
    // "Ā" has the best fit "A": a path through it would name another file.
    EXPECT_EQ(cp.FromUtf16(u"\u65E5\u0100\xD800"), "???");
    EXPECT_EQ(cp.FromUtf16(u""), "");
}

class UnicodeSettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("sorimo-cp-" + std::to_string(::GetCurrentProcessId()));
        fs::create_directories(folder_);
        name_ = (folder_ / "Sorimo.INI").string();
    }
    void TearDown() override { fs::remove_all(folder_); }
    void Write(const std::string& bytes) { std::ofstream(name_, std::ios::binary) << bytes; }
    std::string Read() const {
        std::ifstream in(name_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path folder_;
    std::string name_;
};

TEST_F(UnicodeSettingsFile, NotepadsUnicodeFileReadsInAnsiAndStaysUtf16WhenWritten) {
    NeedWesternCodePage();
    // "[FILES]\r\n1=café\r\n" in UTF-16LE with its mark, as Notepad saves "Unicode".
    std::string bytes = "\xFF\xFE";
    for (char16_t u : std::u16string(u"[FILES]\r\n1=caf\u00E9\r\n")) {
        bytes += char(u & 0xFF);
        bytes += char(u >> 8);
    }
    Write(bytes);
    settings::TIniFile ini(name_);
    EXPECT_EQ(ini.ReadString("FILES", "1", "NOFILE"), "caf\xE9");
    ini.WriteString("FILES", "1", "caf\xE9");
    EXPECT_EQ(Read(), bytes);
    ini.WriteString("FILES", "2", "x");
    EXPECT_EQ(Read(), bytes + std::string("2\0=\0x\0\r\0\n\0", 10));
}

TEST_F(UnicodeSettingsFile, Utf8FileWithMarkReadsInAnsi) {
    NeedWesternCodePage();
    Write("\xEF\xBB\xBF[FILES]\r\n1=caf\xC3\xA9\r\n");
    EXPECT_EQ(settings::TIniFile(name_).ReadString("FILES", "1", "NOFILE"), "caf\xE9");
}

}  // namespace
