// The launcher's settings file: what start-up reads and what closing and
// slot changes write.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>

#include "settings/IniFile.h"
#include "tests/scenario/LauncherFixture.h"

namespace testing_support {
namespace {

using gfx::mbLeft;
using gfx::mbRight;

std::string FreshFile(int left, int top, int offset) {
    std::string s = "[FORM]\r\nLEFT=" + std::to_string(left) + "\r\nTOP=" + std::to_string(top) +
                    "\r\nOFFSET=" + std::to_string(offset) + "\r\n[FILES]\r\n";
    for (int k = 1; k <= 28; ++k) s += std::to_string(k) + "=NOFILE\r\n";
    return s;
}

class LauncherSettings : public LauncherTest {
protected:
    // Closes the program with a right click on the drag handle.
    void CloseByHandle() {
        ClickAt(Handle(), mbRight);
        Settle();
        EXPECT_TRUE(program->Application.Terminated());
    }
};

TEST_F(LauncherSettings, StartAndCloseWritesTheWholeFileFromScratch) {
    Start();
    EXPECT_FALSE(std::filesystem::exists(IniPath()));  // start-up never creates it
    CloseByHandle();
    EXPECT_EQ(Ini(), FreshFile(0, 0, 1));
}

TEST_F(LauncherSettings, AFileWithOnlyOneSlotLoadsTheRestAsDefaults) {
    WriteIni("[FILES]\r\n3=/usr/bin/env\r\n");
    Start();
    EXPECT_EQ(form->Left(), 0);
    EXPECT_EQ(form->Top(), 0);
    EXPECT_EQ(form->RowOffset(), 1);
    EXPECT_EQ(form->SlotPath(3), "/usr/bin/env");
    for (int k = 1; k <= 28; ++k) {
        if (k == 3) continue;
        EXPECT_EQ(form->SlotPath(k), "NOFILE") << k;
    }
}

TEST_F(LauncherSettings, ValueFormsAndLetterCase) {
    WriteIni("[form]\r\nleft=-40\r\nTop=$10\r\noffset=0x3\r\n[Files]\r\n1=\r\n2=nofile\r\n");
    Start();
    EXPECT_EQ(form->Left(), -40);
    EXPECT_EQ(form->Top(), 16);
    EXPECT_EQ(form->RowOffset(), 3);
    EXPECT_EQ(form->SlotPath(1), "");        // present but empty: a filled slot
    EXPECT_EQ(form->SlotPath(2), "nofile");  // the marker is case-sensitive
}

TEST_F(LauncherSettings, APositionWhollyOffTheScreenIsMovedOntoIt) {
    WriteIni("[FORM]\r\nLEFT=5000\r\nTOP=-3000\r\n");
    Start();
    EXPECT_EQ(form->Left(), 1024 - 264);
    EXPECT_EQ(form->Top(), 0);
    program.reset();
    WriteIni("[FORM]\r\nLEFT=-200\r\nTOP=700\r\n");  // partly visible: kept
    Start();
    EXPECT_EQ(form->Left(), -200);
    EXPECT_EQ(form->Top(), 700);
}

// Positions near the ends of int overflowed the window's far edge (a crash
// in the sanitizer build) before the window could be brought back.
TEST_F(LauncherSettings, PositionsAtTheEndsOfIntAreBroughtOntoTheScreenWithoutOverflow) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    const struct {
        int Left, Top;
        gfx::TPoint Shown;
    } cases[] = {{kMax, kMax, {1024 - 264, 768 - 104}},
                 {kMin, kMin, {0, 0}},
                 {kMax - 100, kMin, {1024 - 264, 0}},
                 {kMin, kMax - 100, {0, 768 - 104}}};
    for (const auto& c : cases) {
        WriteIni("[FORM]\r\nLEFT=" + std::to_string(c.Left) + "\r\nTOP=" + std::to_string(c.Top) + "\r\n");
        Start();
        EXPECT_TRUE(platform.WindowByHandle(form->Handle())->Visible());
        EXPECT_EQ(platform.WindowByHandle(form->Handle())->Bounds(),
                  gfx::Bounds(c.Shown.X, c.Shown.Y, 264, 104))
            << c.Left << "," << c.Top;
        CloseByHandle();
        EXPECT_EQ(Ini().substr(0, 40).find("LEFT=" + std::to_string(c.Shown.X) + "\r\nTOP=" +
                                           std::to_string(c.Shown.Y) + "\r\n"),
                  std::string("[FORM]\r\n").size());
        program.reset();
    }
}

TEST_F(LauncherSettings, NonIntegerAndOutOfRangeOffsets) {
    WriteIni("[FORM]\r\nOFFSET=abc\r\nLEFT=12px\r\n");
    Start();
    EXPECT_EQ(form->RowOffset(), 1);
    EXPECT_EQ(form->Left(), 0);
    program.reset();
    WriteIni("[FORM]\r\nOFFSET=9\r\n");
    Start();
    EXPECT_EQ(form->RowOffset(), 6);  // brought into range as read
    program.reset();
    WriteIni("[FORM]\r\nOFFSET=99999999999\r\n");
    Start();
    EXPECT_EQ(form->RowOffset(), 1);
}

TEST_F(LauncherSettings, AssigningSlot12RewritesOnlyItAndTheFormKeys) {
    std::string text = "; kept\r\n[FORM]\r\nLEFT=5\r\nTOP=6\r\nOFFSET=3\r\n[FILES]\r\n";
    for (int k = 1; k <= 28; ++k) text += std::to_string(k) + "=" + (k == 9 ? "/old/nine" : "NOFILE") + "\r\n";
    WriteIni(text);
    Start();
    platform.ScriptOpenDialog("/data/twelve.txt");
    // Offset 3 shows slots 9..16; slot 12 is column 3 of the first row.
    ClickAt(Cell(3, 0));
    Settle();
    std::string expected = text;
    expected.replace(expected.find("12=NOFILE"), 9, "12=/data/twelve.txt");
    EXPECT_EQ(Ini(), expected);
}

TEST_F(LauncherSettings, CancellingTheDialogStillRewritesTheSlot) {
    WriteIni("[FILES]\r\n1=NOFILE\r\n");
    Start();
    platform.ScriptOpenDialog(std::nullopt);
    ClickAt(Cell(0, 0));
    Settle();
    EXPECT_EQ(Ini(), "[FILES]\r\n1=NOFILE\r\n[FORM]\r\nLEFT=0\r\nTOP=0\r\nOFFSET=1\r\n");
}

TEST_F(LauncherSettings, AChosenPathWithALineBreakIsNotStored) {
    Start();
    platform.ScriptOpenDialog("/tmp/evil\r\n[FORM]\r\nLEFT=999");
    ClickAt(Cell(1, 0));
    Settle();
    EXPECT_EQ(form->SlotPath(2), "NOFILE");
    EXPECT_EQ(Ini().find("999"), std::string::npos);
}

// A failed launch empties the slot only when the file was deleted: its
// folder is there and the file is not. A file on a drive that is not
// mounted, or a network folder that is away (no folder), or a file that is
// there but found no application, keeps its slot: the user would lose it
// for good. A link counts by what it points to.
TEST_F(LauncherSettings, AFailedLaunchEmptiesTheSlotOnlyWhenItsFileWasDeleted) {
    namespace fs = std::filesystem;
    fs::create_directory(dir.Path() / "here");
    WriteFile(dir.File("here/present.odd"), "x");
    std::error_code noLinks;  // Windows without the right to make them
    fs::create_symlink(dir.File("here/deleted.txt"), dir.File("here/link-to-deleted"), noLinks);
    fs::create_symlink(dir.File("unplugged/file.txt"), dir.File("here/link-to-unplugged"), noLinks);
    const struct {
        std::string path;
        bool emptied;
    } cases[] = {
        {dir.File("here/deleted.txt"), true},
        {dir.File("here/link-to-deleted"), true},
        {dir.File("unplugged/file.txt"), false},
        {dir.File("here/link-to-unplugged"), false},
        {dir.File("here/present.odd"), false},
    };
    for (const auto& c : cases) {
        if (noLinks && c.path.find("link-") != std::string::npos) continue;
        SCOPED_TRACE(c.path);
        const std::string before = "[FILES]\r\n5=" + c.path + "\r\n";
        WriteIni(before);
        Start();
        platform.ShellResults[c.path] = 2;
        ClickAt(Cell(0, 1));
        Settle();
        EXPECT_EQ(form->SlotPath(5), c.emptied ? "NOFILE" : c.path);
        EXPECT_EQ(Ini().find("5=NOFILE\r\n") != std::string::npos, c.emptied);
        if (!c.emptied) {
            EXPECT_EQ(Ini(), before);
        }
        EXPECT_TRUE(platform.ErrorBoxes.empty());
        program.reset();
    }
}

TEST_F(LauncherSettings, ARefusedWriteShowsTheErrorAndKeepsTheProgramRunning) {
    WriteIni("[FILES]\r\n1=/keep/me\r\n");
    Start();
    // A folder where the settings file should be makes every write fail,
    // also for root.
    std::filesystem::remove(IniPath());
    std::filesystem::create_directory(IniPath());
    ClickAt(Handle(), mbRight);
    Settle();
    ASSERT_EQ(platform.ErrorBoxes.size(), 1u);
    EXPECT_EQ(platform.ErrorBoxes[0].Message,
              IniPath() + " に書き込めません\n" + std::make_error_code(std::errc::is_a_directory).message());
    EXPECT_EQ(platform.ErrorBoxes[0].Title, "sorimo");
    EXPECT_FALSE(program->Application.Terminated());
    EXPECT_TRUE(form->Visible());
}

TEST_F(LauncherSettings, BadFilesStartWithoutHarm) {
    const std::string bad[] = {
        std::string(10 * 1024 * 1024, 'x'),
        std::string("[FORM]\0\0\xff\xfe\r\nLEFT=\0" "7\r\n[FILES]\r\n1=/a\0b\r\n", 33),
        "[FILES]\r\n1=" + std::string(100000, 'p') + "\r\n",
        "[FORM]\nLEFT=3\r\nTOP=4\n[FILES]\r\n2=/two\n",
        "\xEF\xBB\xBF[FORM]\r\nLEFT=8\r\n",
        "[FILES]\r\n1=/first\r\n1=/second\r\n",
        "[FORM\r\nLEFT=9\r\n",
    };
    for (const std::string& bytes : bad) {
        WriteIni(bytes);
        Start();
        EXPECT_GE(form->RowOffset(), 1);
        EXPECT_LE(form->RowOffset(), 6);
        program.reset();
    }
    WriteIni("[FILES]\r\n1=/first\r\n1=/second\r\n");
    Start();
    EXPECT_EQ(form->SlotPath(1), "/first");
    program.reset();
    WriteIni("[FILES]\r\n1=" + std::string(100000, 'p') + "\r\n");
    Start();
    EXPECT_EQ(form->SlotPath(1).size(), std::min<std::size_t>(100000, settings::TIniFile::kMaxValueLength));
}

// A long path was read back cut, so the slot named another, missing file.
TEST_F(LauncherSettings, ALongSlotPathSurvivesStartAndCloseByteForByte) {
    std::string path = "/srv";
    while (path.size() < 4095) path += "/\xE9t\xE9 long";
    path.resize(4095);
    path.back() = 'z';  // no trailing blank, which reading trims
    std::string text = FreshFile(0, 0, 1);
    text.replace(text.find("7=NOFILE"), 8, "7=" + path);
    WriteIni(text);
    Start();
    EXPECT_EQ(form->SlotPath(7), path.substr(0, settings::TIniFile::kMaxValueLength));
    CloseByHandle();
    if (settings::TIniFile::kMaxValueLength > 2047) {
        EXPECT_EQ(Ini(), text);
    }
}

}  // namespace
}  // namespace testing_support
