// The launcher's slot table: the icon each slot shows, the staged lookup at
// start-up, reading the slots and saving them in one write.
#include "launcher/SlotTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace launcher {
namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

gfx::TIcon Solid(gfx::TPixel colour) {
    return gfx::TIcon(gfx::TSurface(32, 32, colour), std::vector<std::uint8_t>(32 * 32, 255));
}

// A table over a settings file in a temporary folder, with an icon lookup
// that answers from `icons`, finds nothing for other paths, throws for
// `faulty` and records what it was asked.
class SlotTableTest : public ::testing::Test {
protected:
    SlotTableTest()
        : table_(
              timer_, defaultIcon_,
              [this](const std::string& path) -> std::optional<gfx::TIcon> {
                  lookups_.push_back(path);
                  if (path == faulty_) throw std::runtime_error("lookup crashed");
                  auto it = icons_.find(path);
                  if (it == icons_.end()) return std::nullopt;
                  return it->second;
              },
              [this] {
                  ++fileOpens_;
                  return dir_.File("sorimo.INI");
              }) {}

    void Fill(int first, int last) {
        for (int k = first; k <= last; ++k) table_.SetPath(k, "/slot/" + std::to_string(k));
    }

    TempDir dir_;
    gui::TTimer timer_{nullptr};
    gfx::TIcon defaultIcon_ = Solid(0xFF0000);
    std::map<std::string, gfx::TIcon> icons_;
    std::string faulty_;
    std::vector<std::string> lookups_;
    int fileOpens_ = 0;
    TSlotTable table_;
};

// One case per kind of slot: an empty one shows the default icon and asks
// nothing; a file's own icon is owned by its slot (never shared); a file
// without an icon shows the bare face; a lookup that throws empties the
// slot instead of ending the program.
TEST_F(SlotTableTest, EachKindOfSlotGetsItsIconAndAFaultyLookupEmptiesTheSlot) {
    icons_["/a"] = Solid(0x123456);
    icons_["/b"] = Solid(0x123456);
    faulty_ = "/crash";
    struct Case {
        int slot;
        std::string path;
        std::string pathAfter;
        enum { Default, Own, None } icon;
    };
    const std::vector<Case> cases = {
        {1, kNoFile, kNoFile, Case::Default},
        {2, "/a", "/a", Case::Own},
        {3, "/b", "/b", Case::Own},
        {4, "/no-icon", "/no-icon", Case::None},
        {5, "/crash", kNoFile, Case::Default},
    };
    for (const Case& c : cases) table_.SetPath(c.slot, c.path);
    table_.ReloadIcons();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(table_.Path(c.slot), c.pathAfter);
        const gfx::TIcon* icon = table_.Icon(c.slot).Get();
        switch (c.icon) {
            case Case::Default:
                EXPECT_EQ(icon, &defaultIcon_);
                break;
            case Case::None:
                EXPECT_EQ(icon, nullptr);
                break;
            case Case::Own:
                ASSERT_NE(icon, nullptr);
                EXPECT_NE(icon, &defaultIcon_);
                EXPECT_EQ(icon->Pixels().Get(0, 0), 0x123456u);
                break;
        }
    }
    EXPECT_NE(table_.Icon(2).Get(), table_.Icon(3).Get());
    EXPECT_EQ(std::count(lookups_.begin(), lookups_.end(), kNoFile), 0);
}

// Looking all 28 icons up at once delayed the window's first map, and a cell
// drawn before the lookups ended showed the default icon for a file's own.
TEST_F(SlotTableTest, TheStagedLookupTakesOneSlotPerFiringAndFinishingDoesTheRestOnce) {
    Fill(1, kSlotCount);
    icons_["/slot/1"] = Solid(0x123456);
    table_.BeginIconLookup();
    EXPECT_TRUE(lookups_.empty());
    EXPECT_EQ(table_.Icon(1).Get(), &defaultIcon_);
    EXPECT_EQ(timer_.Interval(), 1);
    timer_.Fire();
    timer_.Fire();
    EXPECT_EQ(lookups_, (std::vector<std::string>{"/slot/1", "/slot/2"}));
    EXPECT_NE(table_.Icon(1).Get(), &defaultIcon_);
    table_.FinishIconLookup();
    EXPECT_EQ(lookups_.size(), std::size_t(kSlotCount));
    EXPECT_EQ(lookups_.back(), "/slot/28");
    EXPECT_FALSE(table_.IconLookupDue());
    EXPECT_EQ(timer_.Interval(), 0);
    timer_.Fire();  // a firing already on its way looks nothing up again
    table_.FinishIconLookup();
    EXPECT_EQ(lookups_.size(), std::size_t(kSlotCount));

    // Left to the timer alone it stops after the last slot.
    lookups_.clear();
    table_.BeginIconLookup();
    for (int i = 0; i < kSlotCount; ++i) timer_.Fire();
    EXPECT_EQ(lookups_.size(), std::size_t(kSlotCount));
    EXPECT_EQ(timer_.Interval(), 0);
}

// Each save is one write of the file: the caller's keys, then only the
// slots asked for that lie in 1..28, in the order asked.
TEST_F(SlotTableTest, ASaveWritesTheGivenKeysAndTheAskedSlotsInOneWrite) {
    WriteFile(dir_.File("sorimo.INI"), "[FILES]\r\n1=/kept\r\n");
    table_.Read(gui::TIniFile(dir_.File("sorimo.INI")));
    EXPECT_EQ(table_.Path(1), "/kept");
    EXPECT_EQ(table_.Path(2), kNoFile);
    table_.SetPath(2, "/two");
    struct Case {
        std::vector<int> slots;
        std::string file;
    };
    const std::vector<Case> cases = {
        {{2}, "[FILES]\r\n1=/kept\r\n2=/two\r\n[FORM]\r\nOFFSET=3\r\n"},
        {{0, 29, -1}, "[FILES]\r\n1=/kept\r\n[FORM]\r\nOFFSET=3\r\n"},
    };
    for (const Case& c : cases) {
        WriteFile(dir_.File("sorimo.INI"), "[FILES]\r\n1=/kept\r\n");
        fileOpens_ = 0;
        gui::TIniBatch keys;
        keys.WriteInteger("FORM", "OFFSET", 3);
        table_.Save(keys, c.slots);
        EXPECT_EQ(ReadFile(dir_.File("sorimo.INI")), c.file);
        EXPECT_EQ(fileOpens_, 1);
    }
    fileOpens_ = 0;
    table_.SaveAll({});
    EXPECT_EQ(fileOpens_, 1);
    const gui::TIniFile saved(dir_.File("sorimo.INI"));
    for (int k = 1; k <= kSlotCount; ++k)
        EXPECT_EQ(saved.ReadString("FILES", std::to_string(k), ""), table_.Path(k));
}

// A drop with one path the table cannot keep takes none of the files: a
// line break would split the settings line and add keys.
TEST_F(SlotTableTest, ADropFillsTheSlotUnderItAndNextEmptyOnesOrNothing) {
    table_.SetPath(2, "/old/2");
    EXPECT_TRUE(table_.Drop(1, {"/ok", "/bad\nLEFT=1"}).empty());
    EXPECT_EQ(table_.Path(1), kNoFile);
    EXPECT_EQ(table_.Drop(1, {"/f/1", "/f/2"}), (std::vector<int>{1, 3}));
    EXPECT_EQ(table_.Path(1), "/f/1");
    EXPECT_EQ(table_.Path(2), "/old/2");
    EXPECT_EQ(table_.Path(3), "/f/2");
}

}  // namespace
}  // namespace launcher
