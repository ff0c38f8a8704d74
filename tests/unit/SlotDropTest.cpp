// The pure parts of dropping files on the launcher: the cell under a drag,
// which paths a slot can keep and which slots a drop of several files fills.
#include "launcher/SlotDrop.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace launcher {
namespace {

std::array<std::string, 29> EmptySlots() {
    std::array<std::string, 29> slots;
    slots.fill("NOFILE");
    return slots;
}

TEST(SlotChoice, FurtherFilesSkipFilledSlotsAndTheFirstReplacesWhatWasThere) {
    auto slots = EmptySlots();
    slots[5] = "/old/5";
    slots[6] = "/old/6";
    slots[8] = "/old/8";
    EXPECT_EQ(ChooseDropSlots(slots, 5, {"/a", "/b", "/c"}),
              (std::vector<TSlotFill>{{5, "/a"}, {7, "/b"}, {9, "/c"}}));
}

TEST(SlotChoice, FilesBeyondTheLastSlotAreLeftOutNotWrappedToTheFirst) {
    auto slots = EmptySlots();
    slots[28] = "/old/28";
    EXPECT_EQ(ChooseDropSlots(slots, 26, {"/a", "/b", "/c", "/d"}),
              (std::vector<TSlotFill>{{26, "/a"}, {27, "/b"}}));
    EXPECT_EQ(ChooseDropSlots(slots, 28, {"/a", "/b"}), (std::vector<TSlotFill>{{28, "/a"}}));
}

TEST(SlotChoice, NoSlotOutsideTheTableAndNoFileNoFill) {
    const auto slots = EmptySlots();
    EXPECT_TRUE(ChooseDropSlots(slots, 0, {"/a"}).empty());
    EXPECT_TRUE(ChooseDropSlots(slots, 29, {"/a"}).empty());
    EXPECT_TRUE(ChooseDropSlots(slots, 3, {}).empty());
}

TEST(DropCell, EveryPixelOfTheGridIsACellAndNothingAroundItIs) {
    EXPECT_EQ(GridCellAt(0, 0), (TDropSpot{TDropSpot::Cell, 0, 0}));
    EXPECT_EQ(GridCellAt(35, 36), (TDropSpot{TDropSpot::Cell, 0, 1}));
    EXPECT_EQ(GridCellAt(36, 35), (TDropSpot{TDropSpot::Cell, 1, 0}));
    EXPECT_EQ(GridCellAt(143, 71), (TDropSpot{TDropSpot::Cell, 3, 1}));
    // Points the mouse's hit test would clamp onto an edge cell.
    EXPECT_FALSE(GridCellAt(144, 10));
    EXPECT_FALSE(GridCellAt(10, 72));
    EXPECT_FALSE(GridCellAt(-1, 10));
    EXPECT_FALSE(GridCellAt(10, -1));
}

TEST(DropPath, LineBreaksEmptyPathsAndTheMarkerCannotBeKept) {
    EXPECT_TRUE(StorablePath("/home/u/a file.txt"));
    EXPECT_TRUE(StorablePath("/x/NOFILE"));
    EXPECT_FALSE(StorablePath(""));
    EXPECT_FALSE(StorablePath("NOFILE"));
    EXPECT_FALSE(StorablePath("/a\nLEFT=9"));
    EXPECT_FALSE(StorablePath("/a\rb"));
}

}  // namespace
}  // namespace launcher
