#include "gui/Component.h"

#include <algorithm>
#include <cassert>

namespace gui {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_ && (owner_->state_ & csLoading)) state_ |= csLoading;
}

TComponent::~TComponent() {
    state_ |= csDestroying;
    // Tell everyone who asked that we are going away.
    auto notifies = std::move(freeNotifies_);
    for (TComponent* other : notifies) {
        other->RemoveFreeNotificationOneWay(this);
        other->Notification(this, opRemove);
    }
    DestroyOwnedComponents();
}

void TComponent::DestroyOwnedComponents() {
    // Owned components die in reverse order of creation.
    while (!owned_.empty()) {
        std::unique_ptr<TComponent> last = std::move(owned_.back());
        owned_.pop_back();
        last.reset();
    }
}

void TComponent::DestroyOwned(TComponent& child) {
    auto it = std::find_if(owned_.begin(), owned_.end(),
                           [&](const auto& p) { return p.get() == &child; });
    assert(it != owned_.end() && "DestroyOwned: not an owned component");
    std::unique_ptr<TComponent> doomed = std::move(*it);
    owned_.erase(it);
    doomed.reset();
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
        freeNotifies_.push_back(other);
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) ==
        other->freeNotifies_.end())
        other->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other) return;
    RemoveFreeNotificationOneWay(other);
    other->RemoveFreeNotificationOneWay(this);
}

void TComponent::RemoveFreeNotificationOneWay(TComponent* other) {
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other),
                        freeNotifies_.end());
}

TApplication* TComponent::Application() const { return owner_ ? owner_->Application() : nullptr; }

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::Loaded() { state_ &= ~csLoading; }

void TComponent::SetLoading(bool loading) {
    if (loading)
        state_ |= csLoading;
    else
        state_ &= ~csLoading;
    for (auto& c : owned_) c->SetLoading(loading);
}

void TComponent::NotifyLoaded() {
    for (std::size_t i = 0; i < owned_.size(); ++i) owned_[i]->NotifyLoaded();
    Loaded();
}

}  // namespace gui
