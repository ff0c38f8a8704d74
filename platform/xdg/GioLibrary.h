// GIO, loaded when the program first needs it (a file's type, a .desktop
// launch, the default handler) rather than when it starts: GLib, GObject and
// GIO with their dependencies are nine libraries and about 2 MB, which a
// launcher without filled slots never uses.
#pragma once

#include <memory>
#include <string>

namespace platform::xdg {

struct Gio;

class GioLibrary {
public:
    // `soname` names the library to load; tests give a missing one.
    explicit GioLibrary(std::string soname = "libgio-2.0.so.0");
    ~GioLibrary();
    GioLibrary(const GioLibrary&) = delete;
    GioLibrary& operator=(const GioLibrary&) = delete;

    // The functions, loading the library on the first call; null when GIO
    // is not installed or lacks one of them (then again on every call,
    // without a second attempt).
    const Gio* Get();

private:
    std::string soname_;
    void* handle_ = nullptr;
    std::unique_ptr<Gio> functions_;
    bool tried_ = false;
};

}  // namespace platform::xdg
