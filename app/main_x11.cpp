// The Linux program: Sorimo on the X11 backend.
#include <cstdio>
#include <exception>

#include "app/Sorimo.h"
#include "platform/x11/X11Platform.h"

int main() {
    std::unique_ptr<platform::Platform> platform;
    try {
        platform = platform::CreateX11Platform();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sorimo: %s\n", e.what());
        return 1;
    }
    return app::SorimoMain(*platform);
}
