// GIO, loaded when the program first needs it (a file's type, a .desktop
// launch, the default handler) rather than when it starts: GLib, GObject and
// GIO with their dependencies are nine libraries and about 2 MB, which a
// launcher without filled slots never uses.
#pragma once

#include <memory>

namespace platform::xdg {

struct Gio;

class GioLibrary {
public:
    GioLibrary();
    ~GioLibrary();
    GioLibrary(const GioLibrary&) = delete;
    GioLibrary& operator=(const GioLibrary&) = delete;

    // The functions, loading the library on the first call; null when GIO
    // is not installed or lacks one of them (then again on every call,
    // without a second attempt).
    const Gio* Get();

private:
    void* handle_ = nullptr;
    std::unique_ptr<Gio> functions_;
    bool tried_ = false;
};

}  // namespace platform::xdg
