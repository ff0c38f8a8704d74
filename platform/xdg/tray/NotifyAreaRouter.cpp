#include "platform/xdg/tray/NotifyAreaRouter.h"

namespace platform::xdg {

NotifyAreaRouter::Target NotifyAreaRouter::Best() const {
    if (watcher_ == WatcherState::Present) return Target::Items;
    if (!trayPresent_) return Target::Refuse;
    return watcher_ == WatcherState::Unknown ? Target::Hold : Target::Tray;
}

NotifyService* NotifyAreaRouter::ServiceOf(Shown by) {
    return by == Shown::Items ? &items_ : by == Shown::Tray ? &tray_ : nullptr;
}

NotifyAreaRouter::Shown NotifyAreaRouter::ShownBy(std::uint32_t uID) const {
    auto it = icons_.find(uID);
    return it == icons_.end() ? Shown::Nowhere : it->second.By;
}

void NotifyAreaRouter::MoveTo(Icon& icon, Shown target) {
    if (icon.By != target)
        if (NotifyService* old = ServiceOf(icon.By)) old->Remove(icon.Record.uID);
    icon.By = target;
    if (NotifyService* service = ServiceOf(target)) service->Show(icon.Record);
}

bool NotifyAreaRouter::Apply(std::uint32_t message, const NotifyIconData& data) {
    auto it = icons_.find(data.uID);
    if (message == NIM_DELETE) {
        if (it != icons_.end()) {
            if (NotifyService* service = ServiceOf(it->second.By)) service->Remove(data.uID);
            icons_.erase(it);
        }
        return true;
    }
    if (message == NIM_MODIFY) {
        if (it == icons_.end()) return false;
        it->second.Record = data;
        if (NotifyService* service = ServiceOf(it->second.By)) service->Update(data);
        return true;
    }
    const Target best = Best();
    if (best == Target::Refuse) {
        if (it != icons_.end()) MoveTo(it->second, Shown::Nowhere);
        icons_.erase(data.uID);
        refused_ = true;
        return false;
    }
    Icon& icon = icons_[data.uID];
    icon.Record = data;
    const Shown target = best == Target::Items ? Shown::Items
                         : best == Target::Tray ? Shown::Tray
                                                : Shown::Nowhere;
    if (icon.By == target && target != Shown::Nowhere)
        ServiceOf(target)->Update(data);  // docked already, waiting to be drawn
    else
        MoveTo(icon, target);
    if (best == Target::Tray && !trayDraws_) {
        refused_ = true;
        return false;
    }
    shown_ = true;
    return true;
}

void NotifyAreaRouter::TrayReplaced() {
    trayPresent_ = true;
    for (auto& [id, icon] : icons_)
        if (icon.By == Shown::Tray) tray_.Show(icon.Record);
}

void NotifyAreaRouter::Reconcile() {
    const Target best = Best();
    if (best == Target::Hold) return;
    if (best == Target::Refuse) {
        if (icons_.empty()) return;
        // Nothing shows the icons any more: the GUI layer counts them as
        // pending again and adds them when an area appears.
        for (auto& [id, icon] : icons_) MoveTo(icon, Shown::Nowhere);
        icons_.clear();
        lost_ = refused_ = true;
        shown_ = false;
        return;
    }
    const Shown target = best == Target::Items ? Shown::Items : Shown::Tray;
    for (auto& [id, icon] : icons_)
        if (icon.By != target) MoveTo(icon, target);
    const bool drawn = target == Shown::Items || trayDraws_;
    if (!drawn) {
        // Docked where nothing draws them (a tray that stopped showing
        // them): the GUI layer counts them as pending again.
        if (shown_) lost_ = refused_ = true;
        shown_ = false;
        // A new tray draws only what is docked into it: the icons the GUI
        // layer holds back are asked for once (their adds dock them, and
        // are refused until the tray shows them).
        if (refused_ && icons_.empty() && target == Shown::Tray) {
            refused_ = false;
            appeared_ = true;
        }
        return;
    }
    if (refused_) {
        refused_ = false;
        appeared_ = true;
    }
}

}  // namespace platform::xdg
