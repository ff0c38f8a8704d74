#include "launcher/SlotTable.h"

#include <algorithm>
#include <numeric>

#include "launcher/SlotDrop.h"

namespace launcher {

TSlotTable::TSlotTable(gui::TTimer& lookupTimer, const gui::TIcon& defaultIcon, TFileIcon fileIcon,
                       TSettingsFile settingsFile)
    : lookupTimer_(lookupTimer),
      defaultIcon_(defaultIcon),
      fileIcon_(std::move(fileIcon)),
      settingsFile_(std::move(settingsFile)) {
    path_.fill(kNoFile);
    lookupTimer_.SetInterval(0);
    lookupTimer_.SetOnTimer([this](gui::TComponent*) { LookUpNextIcon(); });
}

void TSlotTable::Empty(int k) {
    path_[std::size_t(k)] = kNoFile;
    icon_[std::size_t(k)].Borrow(&defaultIcon_);
}

void TSlotTable::Read(const gui::TIniFile& ini) {
    for (int k = 1; k <= kSlotCount; ++k)
        path_[std::size_t(k)] = ini.ReadString("FILES", std::to_string(k), kNoFile);
}

void TSlotTable::LoadIcon(int k) {
    const std::string& path = path_[std::size_t(k)];
    TSlotIcon& icon = icon_[std::size_t(k)];
    if (path == kNoFile) {
        icon.Borrow(&defaultIcon_);
        return;
    }
    try {
        if (auto found = fileIcon_(path))
            icon.Own(std::move(*found));
        else
            icon.Borrow(nullptr);  // no icon: the bare face
    } catch (const std::exception&) {
        // A fault inside the lookup empties the slot (in memory only).
        Empty(k);
    }
}

void TSlotTable::ReloadIcons() {
    StopIconLookup();
    for (int k = 1; k <= kSlotCount; ++k) LoadIcon(k);
}

// At start-up the icons are looked up one slot per turn of the loop once it
// runs: the window maps without waiting for 28 lookups, and input that
// arrives in between is handled. Drawing a cell finishes the lookups first,
// so the grid never shows an icon that is not there yet.
void TSlotTable::BeginIconLookup() {
    for (int k = 1; k <= kSlotCount; ++k) icon_[std::size_t(k)].Borrow(&defaultIcon_);
    nextIconSlot_ = 1;
    lookupTimer_.SetInterval(1);
}

void TSlotTable::LookUpNextIcon() {
    if (nextIconSlot_ >= 1 && nextIconSlot_ <= kSlotCount) LoadIcon(nextIconSlot_++);
    if (nextIconSlot_ > kSlotCount) StopIconLookup();
}

void TSlotTable::FinishIconLookup() {
    while (nextIconSlot_ >= 1 && nextIconSlot_ <= kSlotCount) LoadIcon(nextIconSlot_++);
    StopIconLookup();
}

void TSlotTable::StopIconLookup() {
    nextIconSlot_ = 0;
    lookupTimer_.SetInterval(0);
}

void TSlotTable::Save(gui::TIniBatch batch, std::span<const int> slots) const {
    for (const int k : slots)
        if (k >= 1 && k <= kSlotCount)
            batch.WriteString("FILES", std::to_string(k), path_[std::size_t(k)]);
    gui::TIniFile(settingsFile_()).Write(batch);
}

void TSlotTable::SaveAll(gui::TIniBatch batch) const {
    std::array<int, kSlotCount> all{};
    std::iota(all.begin(), all.end(), 1);
    Save(std::move(batch), all);
}

std::vector<int> TSlotTable::Drop(int first, const std::vector<std::string>& files) {
    std::vector<int> filled;
    if (!std::all_of(files.begin(), files.end(), StorablePath)) return filled;
    for (const TSlotFill& fill : ChooseDropSlots(path_, first, files)) {
        path_[std::size_t(fill.Slot)] = fill.Path;
        filled.push_back(fill.Slot);
    }
    return filled;
}

}  // namespace launcher
