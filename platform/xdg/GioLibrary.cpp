#include "platform/xdg/GioLibrary.h"

#include <dlfcn.h>

#include <utility>

#include "platform/xdg/Gio.h"

namespace platform::xdg {

// GLib and GObject come with GIO as its dependencies.
GioLibrary::GioLibrary(std::string soname) : soname_(std::move(soname)) {}

GioLibrary::~GioLibrary() {
    if (handle_) dlclose(handle_);
}

const Gio* GioLibrary::Get() {
    if (tried_) return functions_.get();
    tried_ = true;
    // GObject registers types that cannot be unregistered: the library
    // must stay in memory even after dlclose.
    void* handle = dlopen(soname_.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) return nullptr;
    auto loaded = std::make_unique<Gio>();
    bool complete = true;
#define SORIMO_GIO_LOAD(name)                                                 \
    loaded->name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name)); \
    complete = complete && loaded->name != nullptr;
    SORIMO_GIO_FUNCTIONS(SORIMO_GIO_LOAD)
#undef SORIMO_GIO_LOAD
    if (!complete) {
        dlclose(handle);
        return nullptr;
    }
    handle_ = handle;
    functions_ = std::move(loaded);
    return functions_.get();
}

}  // namespace platform::xdg
