// TApplication: owns the forms, runs the message loop, the timers and the
// paint cycle, and shows errors that escape event handlers.
//
// One turn of the loop takes, in order of priority: a queued message (input,
// close requests, notifications), then the paint of one invalid form (seen
// by the message hook as a paint message, number 15, for that form), then
// one due timer. When nothing is left, everything drawn is presented and the
// loop waits for input or the next timer; it never polls.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <typeindex>
#include <typeinfo>
#include <utility>
#include <vector>

#include "gui/Component.h"
#include "gui/Exceptions.h"
#include "gui/Messages.h"
#include "gui/QueuedInput.h"
#include "platform/Platform.h"

namespace gui {

class TForm;
class TTimer;
class TWinControl;

using TMessageEvent = std::function<void(TMsg& Msg, bool& Handled)>;

class TApplication : public TComponent, private platform::AppListener {
public:
    explicit TApplication(platform::Platform& platform);
    ~TApplication() override;

    TApplication* Application() const override { return const_cast<TApplication*>(this); }
    platform::Platform& Platform() const { return platform_; }

    // The title of error boxes: the executable's base name unless set.
    std::string Title;

    // Creates a form owned by the application. `ref` is set before the form
    // is constructed (its constructor may use it) and cleared again when
    // construction fails; the error then passes on. The first form created
    // becomes the main form.
    template <class T, class... Args>
    T& CreateForm(T*& ref, Args&&... args) {
        void* memory = ::operator new(sizeof(T));
        ref = static_cast<T*>(memory);
        T* form = nullptr;
        creatingForm_ = true;
        try {
            form = new (memory) T(*this, std::forward<Args>(args)...);
        } catch (...) {
            creatingForm_ = false;
            ref = nullptr;
            ::operator delete(memory);
            throw;
        }
        creatingForm_ = false;
        Adopt(form);
        return *form;
    }
    TForm* MainForm() const { return mainForm_; }

    // The loop.
    void Run();
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    // Processes one message, waiting for one when none is pending.
    void HandleMessage();
    // Processes everything pending (messages, paints, due timers) and
    // returns without waiting.
    void ProcessMessages();
    // Processes one pending item; false when nothing was pending.
    bool ProcessMessage();
    // The message hook: sees the paint, timer and notification-area
    // messages before they are handled; `handled` skips the handling.
    TMessageEvent OnMessage;
    // Queues input for the loop, behind what is already queued.
    void PostInput(TQueuedInput input) { queue_.push_back(std::move(input)); }

    // Errors escaping event handlers: shown in the error box, titled with
    // Title; the loop goes on.
    void ShowException(const std::string& message);

    // Timers (used by TTimer).
    void StartTimer(TTimer* timer, int intervalMs);
    void StopTimer(TTimer* timer);
    // The time the next timer is due, or -1 when no timer runs.
    std::int64_t NextTimerDue() const;
    // Number of times the loop waited (for tests: an idle loop waits once).
    std::uint64_t Waits() const { return waits_; }

    // Window handles of controls without a native window of their own.
    HWND AllocateHandle(TWinControl* control);
    void RegisterHandle(HWND handle, TWinControl* control);
    void ReleaseHandle(HWND handle);
    TWinControl* FindControl(HWND handle) const;

    // While a modal form is open, the other forms take no input.
    class ModalScope {
    public:
        ModalScope(TApplication& app, TForm* form);
        ~ModalScope();
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;

    private:
        TApplication& app_;
    };
    TForm* ActiveModal() const { return modal_.empty() ? nullptr : modal_.back(); }

    // Used by TForm.
    void FormCreated(TForm* form);
    void FormDestroyed(TForm* form);

    // The process-wide state of a program unit (for instance the tray
    // component's list of live icons), owned by the application instead of
    // a global. Made as T(*this) on first use; freed when the application
    // is destroyed, after every form and component, the last made first.
    template <class T>
    T& UnitState() {
        const std::type_index key(typeid(T));
        for (auto& unit : units_)
            if (unit.first == key) return *static_cast<T*>(unit.second.get());
        UnitPtr state(new T(*this), [](void* p) { delete static_cast<T*>(p); });
        T& ref = *static_cast<T*>(state.get());
        units_.emplace_back(key, std::move(state));
        return ref;
    }

private:
    // platform::AppListener
    void NativeTrayMessage(std::uintptr_t hWnd, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam, TPoint screen) override;
    void NativeTrayRecreated() override;
    void NativeTrayLost() override;
    void NativeSessionEnd() override;
    void NativeMonitorsChanged() override;
    void NativeStartRequest(platform::StartRequest request) override;
    std::int64_t NativeIdle() override;

    void Adopt(TForm* form);
    void ShowErrorForm(const std::string& message);
    void Dispatch(const TQueuedInput& input);
    void Deliver(const TMouseNotice& notice);
    void Deliver(const TKeyNotice& notice);
    void Deliver(const TCloseNotice& notice);
    void Deliver(const TTrayNotice& notice);
    void Deliver(const TDragNotice& notice);
    void Deliver(const TMonitorsNotice& notice);
    void Deliver(const TStartNotice& notice);
    TForm* FormOf(HWND handle) const;
    bool TakesInput(TWinControl* target) const;
    bool PaintOneForm();
    bool FireOneTimer();
    void PresentAll();
    void Wait();

    using UnitPtr = std::unique_ptr<void, void (*)(void*)>;
    void FreeUnitStates();

    struct RunningTimer {
        TTimer* timer;
        int interval;
        std::int64_t due;
    };

    platform::Platform& platform_;
    TForm* mainForm_ = nullptr;
    std::vector<TForm*> forms_;
    std::deque<TQueuedInput> queue_;
    std::vector<RunningTimer> timers_;
    std::map<HWND, TWinControl*> handles_;
    HWND nextHandle_ = 0x10000;
    std::vector<TForm*> modal_;
    bool terminated_ = false;
    bool creatingForm_ = false;
    std::uint64_t waits_ = 0;
    std::vector<std::pair<std::type_index, UnitPtr>> units_;

public:
    // Hooks for application-wide platform events (the tray component and
    // the program install these).
    std::function<void()> OnTrayRecreated;
    std::function<void()> OnTrayLost;
    std::function<void()> OnSessionEnd;
    // Run from the loop like input (an error they raise is shown in the
    // error box): the monitor layout changed; a later start of the program
    // handed over its request.
    std::function<void()> OnMonitorsChanged;
    std::function<void(platform::StartRequest request)> OnStartRequest;
};

}  // namespace gui
