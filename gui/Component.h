// TComponent: the base of every object of a window: an owner tree, a name,
// removal notices, a loading state and an after-loading hook.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace gui {

class TApplication;

enum TOperation { opInsert, opRemove };

using TComponentState = std::uint32_t;
constexpr TComponentState csLoading = 1u << 0;
constexpr TComponentState csDestroying = 1u << 1;
constexpr TComponentState csDesigning = 1u << 2;

class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // Creates a component owned by this one; it is destroyed with its owner,
    // after every component created later.
    template <class T, class... Args>
    T& Own(Args&&... args) {
        auto child = std::make_unique<T>(this, std::forward<Args>(args)...);
        T& ref = *child;
        owned_.push_back(std::move(child));
        return ref;
    }
    // Destroys an owned component now (it must be one of ours).
    void DestroyOwned(TComponent& child);

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    std::intptr_t Tag = 0;
    TComponentState ComponentState() const { return state_; }
    int ComponentCount() const { return int(owned_.size()); }
    TComponent& Component(int i) const { return *owned_[std::size_t(i)]; }

    // Asks for a removal notice (Notification(this, opRemove)) when `other`
    // is destroyed. The link is mutual and undone by either destruction.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // The application this component belongs to, found through its owners;
    // null for a component outside any form.
    virtual TApplication* Application() const;

    // Runs `apply` as a stored layout: this component and everything it
    // owns are in the loading state meanwhile, and afterwards each gets
    // Loaded() (owned components first, in creation order).
    template <class F>
    void LoadLayout(F&& apply) {
        SetLoading(true);
        try {
            apply();
        } catch (...) {
            SetLoading(false);
            throw;
        }
        NotifyLoaded();
    }

    // A token that lives exactly as long as the component: code that calls
    // out to handlers which may destroy the component checks it afterwards.
    std::weak_ptr<void> AliveToken() const { return alive_; }

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    virtual void Loaded();
    // Takes ownership of a component constructed elsewhere.
    void Adopt(std::unique_ptr<TComponent> child) { owned_.push_back(std::move(child)); }
    // Destroys every owned component now, last created first. A derived
    // class whose members its components use calls this in its destructor.
    void DestroyOwnedComponents();

private:
    void SetLoading(bool loading);
    void NotifyLoaded();
    void RemoveFreeNotificationOneWay(TComponent* other);

    TComponent* owner_;
    std::string name_;
    TComponentState state_ = 0;
    std::vector<std::unique_ptr<TComponent>> owned_;
    std::vector<TComponent*> freeNotifies_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

// True while the component whose AliveToken() this is still lives.
inline bool Alive(const std::weak_ptr<void>& token) { return !token.expired(); }

}  // namespace gui
