// A pointer for tests on a compositor without input devices: makes a
// virtual pointer on the seat and moves, presses and releases it as told
// on standard input, one command a line, answering "ok" once the
// compositor has taken it:
//   move X Y     to the point X, Y of the layout (logical pixels)
//   press [right]    the left (or right) button down
//   release [right]  the left (or right) button up
// Arguments: the width and height of the layout in logical pixels.
#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

#include "wlr-virtual-pointer-unstable-v1-client.h"

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !globals->seat)
        globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        globals->manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}
void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener kRegistry = {OnGlobal, OnGlobalRemove};

std::uint32_t Now() {
    using namespace std::chrono;
    return std::uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: sorimo-virtual-pointer LAYOUT_WIDTH LAYOUT_HEIGHT\n", stderr);
        return 2;
    }
    const std::uint32_t width = std::uint32_t(std::atoi(argv[1]));
    const std::uint32_t height = std::uint32_t(std::atoi(argv[2]));
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fputs("sorimo-virtual-pointer: no Wayland compositor\n", stderr);
        return 1;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistry, &globals);
    wl_display_roundtrip(display);
    if (!globals.manager) {
        std::fputs("sorimo-virtual-pointer: the compositor offers no virtual pointers\n", stderr);
        return 1;
    }
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
            std::uint32_t x = 0, y = 0;
            words >> x >> y;
            zwlr_virtual_pointer_v1_motion_absolute(pointer, Now(), x, y, width, height);
        } else if (command == "press" || command == "release") {
            std::string which;
            words >> which;
            zwlr_virtual_pointer_v1_button(pointer, Now(), which == "right" ? BTN_RIGHT : BTN_LEFT,
                                           command == "press" ? WL_POINTER_BUTTON_STATE_PRESSED
                                                              : WL_POINTER_BUTTON_STATE_RELEASED);
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
