#include "platform/wayland/WaylandSeat.h"

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/wayland/WaylandConversions.h"
#include "platform/xdg/UniqueFd.h"

namespace platform::wayland {

namespace {

WaylandSeat& SeatOf(void* data) { return *static_cast<WaylandSeat*>(data); }

void OnCapabilities(void* data, wl_seat*, std::uint32_t caps) { SeatOf(data).Capabilities(caps); }
void OnSeatName(void*, wl_seat*, const char*) {}
const wl_seat_listener kSeatListener = {OnCapabilities, OnSeatName};

void OnEnter(void* data, wl_pointer*, std::uint32_t serial, wl_surface* surface, wl_fixed_t x,
             wl_fixed_t y) {
    SeatOf(data).PointerEnter(serial, surface, x, y);
}
void OnLeave(void* data, wl_pointer*, std::uint32_t, wl_surface* surface) { SeatOf(data).PointerLeave(surface); }
void OnMotion(void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
    SeatOf(data).PointerMotion(x, y);
}
void OnButton(void* data, wl_pointer*, std::uint32_t, std::uint32_t time, std::uint32_t button,
              std::uint32_t state) {
    SeatOf(data).PointerButton(time, button, state);
}
void OnAxis(void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {}
void OnFrame(void*, wl_pointer*) {}
void OnAxisSource(void*, wl_pointer*, std::uint32_t) {}
void OnAxisStop(void*, wl_pointer*, std::uint32_t, std::uint32_t) {}
void OnAxisDiscrete(void*, wl_pointer*, std::uint32_t, std::int32_t) {}
void OnAxisValue120(void*, wl_pointer*, std::uint32_t, std::int32_t) {}
const wl_pointer_listener kPointerListener = {OnEnter,      OnLeave,   OnMotion,       OnButton,
                                              OnAxis,       OnFrame,   OnAxisSource,   OnAxisStop,
                                              OnAxisDiscrete, OnAxisValue120};

void OnKeymap(void* data, wl_keyboard*, std::uint32_t format, int fd, std::uint32_t size) {
    SeatOf(data).Keymap(format, fd, size);
}
void OnKeyboardEnter(void* data, wl_keyboard*, std::uint32_t, wl_surface* surface, wl_array*) {
    SeatOf(data).KeyboardEnter(surface);
}
void OnKeyboardLeave(void* data, wl_keyboard*, std::uint32_t, wl_surface* surface) {
    SeatOf(data).KeyboardLeave(surface);
}
void OnKey(void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t key, std::uint32_t state) {
    SeatOf(data).Key(key, state);
}
void OnModifiers(void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed, std::uint32_t latched,
                 std::uint32_t locked, std::uint32_t group) {
    SeatOf(data).Modifiers(depressed, latched, locked, group);
}
void OnRepeatInfo(void*, wl_keyboard*, std::int32_t, std::int32_t) {}
const wl_keyboard_listener kKeyboardListener = {OnKeymap, OnKeyboardEnter, OnKeyboardLeave,
                                                OnKey,    OnModifiers,     OnRepeatInfo};

gfx::TShiftState ButtonFlag(gfx::TMouseButton button) {
    switch (button) {
        case gfx::mbLeft: return gfx::ssLeft;
        case gfx::mbRight: return gfx::ssRight;
        case gfx::mbMiddle: return gfx::ssMiddle;
    }
    return 0;
}

// The size of the cursor theme's pictures: XCURSOR_SIZE, else 24.
int CursorSize() {
    const char* size = std::getenv("XCURSOR_SIZE");
    const int value = size ? std::atoi(size) : 0;
    return value > 0 && value <= 256 ? value : 24;
}

}  // namespace

WaylandSeat::WaylandSeat(Context& context, wl_seat* seat, Find find)
    : context_(context), seat_(seat), find_(std::move(find)),
      xkb_(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {
    wl_seat_add_listener(seat_.get(), &kSeatListener, this);
}

WaylandSeat::~WaylandSeat() = default;

void WaylandSeat::Capabilities(std::uint32_t caps) {
    const bool pointer = caps & WL_SEAT_CAPABILITY_POINTER;
    const bool keyboard = caps & WL_SEAT_CAPABILITY_KEYBOARD;
    if (pointer && !pointer_) {
        pointer_.reset(wl_seat_get_pointer(seat_.get()));
        wl_pointer_add_listener(pointer_.get(), &kPointerListener, this);
    } else if (!pointer && pointer_) {
        pointer_.reset();
        hovered_ = nullptr;
    }
    if (keyboard && !keyboard_) {
        keyboard_.reset(wl_seat_get_keyboard(seat_.get()));
        wl_keyboard_add_listener(keyboard_.get(), &kKeyboardListener, this);
    } else if (!keyboard && keyboard_) {
        keyboard_.reset();
        focused_ = nullptr;
    }
}

void WaylandSeat::Forget(wl_surface* surface) {
    if (hovered_ == surface) hovered_ = nullptr;
    if (focused_ == surface) focused_ = nullptr;
}

TPoint WaylandSeat::Point(wl_fixed_t x, wl_fixed_t y) const {
    if (grabOrigin_) return ScreenPoint(*grabOrigin_, x, y);
    WaylandWindow* window = hovered_ ? find_(hovered_) : nullptr;
    return window ? ScreenPoint(window->ShownOrigin(), x, y) : TPoint{};
}

// The point in the window counts from where the program has placed it when
// the input is handled. During a drag by the handle the compositor shows a
// move a little later than the program asks for it; counting from the
// place shown then would add the part not yet shown to every step, and the
// window would run ahead of the pointer on a busy machine.
void WaylandSeat::Send(MouseInput input) {
    if (!hovered_) return;
    WaylandWindow* window = find_(hovered_);
    if (!window) return;
    context_.post(window->Handle(), [input](WaylandWindow& w) mutable {
        const TPoint origin = w.PlacedOrigin();
        input.Client = {input.Screen.X - origin.X, input.Screen.Y - origin.Y};
        w.Listener().NativeMouse(input);
    });
}

void WaylandSeat::PointerEnter(std::uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
    hovered_ = surface;
    WaylandWindow* window = surface ? find_(surface) : nullptr;
    if (!window) {
        hovered_ = nullptr;
        return;
    }
    SetCursor(serial, window->Scale());
    PointerMotion(x, y);
}

void WaylandSeat::PointerLeave(wl_surface* surface) {
    if (surface != hovered_ || !hovered_) return;
    // A leave while a button is held is the end of a grab the compositor
    // broke; the release never comes, so the buttons are up now.
    buttons_ = 0;
    context_.pointerHeld = false;
    grabOrigin_.reset();
    Send({MouseAction::Leave, gfx::mbLeft, 0, {}, {}});
    hovered_ = nullptr;
}

void WaylandSeat::PointerMotion(wl_fixed_t x, wl_fixed_t y) {
    lastX_ = x;
    lastY_ = y;
    if (!hovered_) return;
    const TPoint point = Point(x, y);
    lastPoint_ = point;
    Send({MouseAction::Move, gfx::mbLeft, Shift(), point, {}});
}

void WaylandSeat::PointerButton(std::uint32_t time, std::uint32_t code, std::uint32_t state) {
    const std::optional<gfx::TMouseButton> button = ButtonOf(code);
    if (!button || !hovered_) return;
    const TPoint point = Point(lastX_, lastY_);
    MouseInput input{MouseAction::Up, *button, 0, point, {}};
    if (state == WL_POINTER_BUTTON_STATE_PRESSED) {
        WaylandWindow* window = find_(hovered_);
        if (buttons_ == 0 && window) grabOrigin_ = window->ShownOrigin();
        buttons_ |= ButtonFlag(*button);
        const bool dbl = doubleClicks_.Press(*button, point, window ? window->Handle() : 0,
                                             std::int64_t(time));
        input.Action = dbl ? MouseAction::DoubleClick : MouseAction::Down;
    } else {
        // A release whose press went elsewhere (the end of another
        // program's drag over us) is not ours to report.
        if (!(buttons_ & ButtonFlag(*button))) return;
        buttons_ &= ~ButtonFlag(*button);
    }
    input.Shift = Shift();
    if (buttons_ == 0) grabOrigin_.reset();
    // Whether a button is held changes in the order the GUI layer hears the
    // events, after the moves that came before it.
    WaylandWindow* window = find_(hovered_);
    if (!window) return;
    Context& context = context_;
    const bool held = buttons_ != 0;
    context_.post(window->Handle(), [&context, held](WaylandWindow&) { context.pointerHeld = held; });
    Send(input);
    // A window dragged onto another output goes over to it now.
    if (!held) context_.post(window->Handle(), [](WaylandWindow& w) { w.OutputsChanged(); });
}

void WaylandSeat::SetCursor(std::uint32_t serial, int scale) {
    if (!pointer_) return;
    Owned<wl_cursor_theme>& theme = themes_[scale];
    if (!theme) theme.reset(wl_cursor_theme_load(std::getenv("XCURSOR_THEME"), CursorSize() * scale, context_.shm));
    if (!theme) return;
    wl_cursor* cursor = wl_cursor_theme_get_cursor(theme.get(), "left_ptr");
    if (!cursor) cursor = wl_cursor_theme_get_cursor(theme.get(), "default");
    if (!cursor || cursor->image_count == 0) return;
    wl_cursor_image* image = cursor->images[0];
    wl_buffer* buffer = wl_cursor_image_get_buffer(image);
    if (!buffer) return;
    if (!cursorSurface_) cursorSurface_.reset(wl_compositor_create_surface(context_.compositor));
    wl_surface* surface = cursorSurface_.get();
    wl_surface_set_buffer_scale(surface, scale);
    wl_surface_attach(surface, buffer, 0, 0);
    wl_surface_damage(surface, 0, 0, int(image->width), int(image->height));
    wl_surface_commit(surface);
    wl_pointer_set_cursor(pointer_.get(), serial, surface, int(image->hotspot_x) / scale,
                          int(image->hotspot_y) / scale);
}

gfx::TShiftState WaylandSeat::Shift() const {
    gfx::TShiftState shift = buttons_;
    if (!keyState_) return shift;
    auto active = [this](const char* name) {
        return xkb_state_mod_name_is_active(keyState_.get(), name, XKB_STATE_MODS_EFFECTIVE) > 0;
    };
    if (active(XKB_MOD_NAME_SHIFT)) shift |= gfx::ssShift;
    if (active(XKB_MOD_NAME_CTRL)) shift |= gfx::ssCtrl;
    if (active(XKB_MOD_NAME_ALT)) shift |= gfx::ssAlt;
    return shift;
}

void WaylandSeat::Keymap(std::uint32_t format, int fd, std::uint32_t size) {
    xdg::UniqueFd owned(fd);
    if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 || !xkb_) return;
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, owned.Get(), 0);
    if (text == MAP_FAILED) return;
    // The text ends with a NUL inside `size`.
    keymap_.reset(xkb_keymap_new_from_string(xkb_.get(), static_cast<const char*>(text),
                                             XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS));
    munmap(text, size);
    keyState_.reset(keymap_ ? xkb_state_new(keymap_.get()) : nullptr);
}

void WaylandSeat::KeyboardEnter(wl_surface* surface) { focused_ = surface; }

void WaylandSeat::KeyboardLeave(wl_surface* surface) {
    if (surface == focused_) focused_ = nullptr;
}

void WaylandSeat::Key(std::uint32_t key, std::uint32_t state) {
    if (state != WL_KEYBOARD_KEY_STATE_PRESSED || !keyState_ || !focused_) return;
    // Evdev codes are 8 below the keymap's key codes.
    const std::optional<platform::Key> pressed = KeyOf(xkb_state_key_get_one_sym(keyState_.get(), key + 8));
    WaylandWindow* window = find_(focused_);
    if (!pressed || !window) return;
    const KeyInput input{*pressed, Shift()};
    context_.post(window->Handle(), [input](WaylandWindow& w) { w.Listener().NativeKey(input); });
}

void WaylandSeat::Modifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked,
                            std::uint32_t group) {
    if (keyState_) xkb_state_update_mask(keyState_.get(), depressed, latched, locked, 0, 0, group);
}

}  // namespace platform::wayland
