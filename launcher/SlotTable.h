// TSlotTable: the launcher's 28 file slots. It keeps each slot's path (the
// marker "NOFILE" for an empty one) and the icon the grid shows for it, looks
// the icons up in stages, reads the paths from the settings file and writes
// them back, each save one replace of the file.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gui/Timer.h"
#include "settings/IniFile.h"

namespace launcher {

constexpr int kSlotCount = 28;
// The marker of an empty slot, compared byte for byte.
inline const std::string kNoFile = "NOFILE";

// The icon a slot shows: one the table owns (from the icon lookup), the
// borrowed default icon, or none (the cell shows its bare face).
class TSlotIcon {
public:
    const gui::TIcon* Get() const { return owned_ ? owned_.get() : borrowed_; }
    void Own(gui::TIcon icon) {
        owned_ = std::make_unique<gui::TIcon>(std::move(icon));
        borrowed_ = nullptr;
    }
    void Borrow(const gui::TIcon* icon) {
        owned_.reset();
        borrowed_ = icon;
    }

private:
    std::unique_ptr<gui::TIcon> owned_;
    const gui::TIcon* borrowed_ = nullptr;
};

class TSlotTable {
public:
    // A file's icon; none when the file has no icon. It may throw.
    using TFileIcon = std::function<std::optional<gui::TIcon>(const std::string& path)>;
    // The settings file's full path.
    using TSettingsFile = std::function<std::string()>;

    // `lookupTimer` paces the staged icon lookup (the table sets its handler
    // and interval); `defaultIcon` is what an empty slot shows.
    TSlotTable(gui::TTimer& lookupTimer, const gui::TIcon& defaultIcon, TFileIcon fileIcon,
               TSettingsFile settingsFile);

    // Slot k, 1..28.
    const std::string& Path(int k) const { return path_[std::size_t(k)]; }
    const TSlotIcon& Icon(int k) const { return icon_[std::size_t(k)]; }
    // Index 0 is unused.
    std::span<const std::string> Paths() const { return path_; }
    void SetPath(int k, const std::string& path) { path_[std::size_t(k)] = path; }
    // Empties slot k: the marker and the default icon (in memory only).
    void Empty(int k);

    // Reads the 28 paths from section FILES of `ini` (a missing key is an
    // empty slot).
    void Read(const gui::TIniFile& ini);

    // Icons. ReloadIcons looks all 28 up now. The staged lookup gives every
    // slot the default icon and then looks one slot up per firing of the
    // timer; FinishIconLookup does what is still due at once.
    void ReloadIcons();
    void BeginIconLookup();
    void FinishIconLookup();
    bool IconLookupDue() const { return nextIconSlot_ != 0; }

    // Writes `batch` and then the paths of `slots` (those outside 1..28
    // are left out) with one replace of the settings file. SaveAll writes
    // all 28.
    void Save(gui::TIniBatch batch, std::span<const int> slots) const;
    void SaveAll(gui::TIniBatch batch) const;

    // Files dropped on slot `first`: the first replaces its path, each
    // further one takes the next empty slot after it. Nothing changes when
    // a path cannot be kept (see StorablePath). The slots filled, in order.
    std::vector<int> Drop(int first, const std::vector<std::string>& files);

private:
    void LoadIcon(int k);
    void LookUpNextIcon();
    void StopIconLookup();

    gui::TTimer& lookupTimer_;
    const gui::TIcon& defaultIcon_;
    TFileIcon fileIcon_;
    TSettingsFile settingsFile_;
    std::array<std::string, kSlotCount + 1> path_;  // 1..28
    std::array<TSlotIcon, kSlotCount + 1> icon_;    // 1..28
    int nextIconSlot_ = 0;                          // the slot looked up next, 0 when none is due
};

}  // namespace launcher
