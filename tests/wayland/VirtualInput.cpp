// Input for tests on a compositor without input devices: makes a virtual
// pointer and a virtual keyboard (US layout) on the seat and drives them as
// told on standard input, one command a line, answering "ok" once the
// compositor has taken it:
//   move X Y W H     to the point X, Y of the layout of W x H logical pixels
//   press [right]    the left (or right) button down
//   release [right]  the left (or right) button up
//   key NAME         presses and releases the key of a keysym name (Escape)
// The layout's size comes with every move: outputs may come and go while
// the devices live. Start it before the program under test, so that the
// seat has a pointer and a keyboard when the program binds it.
#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

#include "virtual-keyboard-unstable-v1-client.h"
#include "wlr-virtual-pointer-unstable-v1-client.h"

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
    zwp_virtual_keyboard_manager_v1* keyboards = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !globals->seat)
        globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        globals->manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
        globals->keyboards = static_cast<zwp_virtual_keyboard_manager_v1*>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
}
void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener kRegistry = {OnGlobal, OnGlobalRemove};

std::uint32_t Now() {
    using namespace std::chrono;
    return std::uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// A keyboard with the default (US) keymap; the keymap travels in a memfd.
struct Keyboard {
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    xkb_keymap* keymap = nullptr;
    zwp_virtual_keyboard_v1* device = nullptr;

    Keyboard(zwp_virtual_keyboard_manager_v1* manager, wl_seat* seat) {
        const xkb_rule_names names{"evdev", "pc105", "us", "", ""};
        keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
        char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
        const std::size_t size = std::strlen(text) + 1;
        const int fd = memfd_create("keymap", MFD_CLOEXEC);
        if (fd < 0 || write(fd, text, size) != ssize_t(size)) std::abort();
        std::free(text);
        device = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(manager, seat);
        zwp_virtual_keyboard_v1_keymap(device, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, std::uint32_t(size));
        close(fd);
    }
    ~Keyboard() {
        zwp_virtual_keyboard_v1_destroy(device);
        xkb_keymap_unref(keymap);
        xkb_context_unref(context);
    }

    // The evdev code of the first key that gives the keysym, or 0.
    std::uint32_t CodeOf(const std::string& name) const {
        const xkb_keysym_t wanted = xkb_keysym_from_name(name.c_str(), XKB_KEYSYM_NO_FLAGS);
        for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap); code <= xkb_keymap_max_keycode(keymap); ++code) {
            const xkb_keysym_t* syms = nullptr;
            if (xkb_keymap_key_get_syms_by_level(keymap, code, 0, 0, &syms) > 0 && syms[0] == wanted)
                return code - 8;
        }
        return 0;
    }

    bool Type(const std::string& name) {
        const std::uint32_t code = CodeOf(name);
        if (code == 0) return false;
        zwp_virtual_keyboard_v1_key(device, Now(), code, WL_KEYBOARD_KEY_STATE_PRESSED);
        zwp_virtual_keyboard_v1_key(device, Now(), code, WL_KEYBOARD_KEY_STATE_RELEASED);
        return true;
    }
};

}  // namespace

int main(int argc, char**) {
    if (argc != 1) {
        std::fputs("usage: sorimo-virtual-input (commands on standard input)\n", stderr);
        return 2;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fputs("sorimo-virtual-input: no Wayland compositor\n", stderr);
        return 1;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistry, &globals);
    wl_display_roundtrip(display);
    if (!globals.manager || !globals.keyboards || !globals.seat) {
        std::fputs("sorimo-virtual-input: the compositor offers no virtual pointers or keyboards\n", stderr);
        return 1;
    }
    Keyboard keyboard(globals.keyboards, globals.seat);
    zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager, globals.seat);
    wl_display_roundtrip(display);
    std::cout << "ready" << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        if (command == "move") {
            std::uint32_t x = 0, y = 0, width = 0, height = 0;
            if (!(words >> x >> y >> width >> height) || width == 0 || height == 0) {
                std::cout << "unknown" << std::endl;
                continue;
            }
            zwlr_virtual_pointer_v1_motion_absolute(pointer, Now(), x, y, width, height);
        } else if (command == "press" || command == "release") {
            std::string which;
            words >> which;
            zwlr_virtual_pointer_v1_button(pointer, Now(), which == "right" ? BTN_RIGHT : BTN_LEFT,
                                           command == "press" ? WL_POINTER_BUTTON_STATE_PRESSED
                                                              : WL_POINTER_BUTTON_STATE_RELEASED);
        } else if (command == "key") {
            std::string name;
            words >> name;
            if (!keyboard.Type(name)) {
                std::cout << "unknown" << std::endl;
                continue;
            }
        } else {
            std::cout << "unknown" << std::endl;
            continue;
        }
        zwlr_virtual_pointer_v1_frame(pointer);
        if (wl_display_roundtrip(display) < 0) return 1;
        std::cout << "ok" << std::endl;
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
