// X protocol errors. Windows that are not the program's (a tray manager, an
// embedder, a drag source) may vanish at any moment, and so may the
// program's own icon and tip windows from the embedder's side: an error
// naming a vanished window or drawable, and a read-back or focus request on
// a window that is no longer viewable, are expected and ignored. Any other
// error is a fault of the program: it is reported on stderr, once for each
// error and request, and the program goes on.
#pragma once

#include <X11/Xlib.h>

#include <set>
#include <string>
#include <utility>

namespace platform::x11 {

bool IsExpectedXError(int errorCode, int requestCode);

// "X error 2 (BadValue) in request 12.0 on resource 0x400001"; `name` is
// the error's name as the server's database gives it.
std::string DescribeXError(const XErrorEvent& e, const std::string& name);

// The errors reported so far: each error and request is reported once.
class XErrorLog {
public:
    // True the first time the pair is seen.
    bool FirstTime(int errorCode, int requestCode) {
        return seen_.insert({errorCode, requestCode}).second;
    }

private:
    std::set<std::pair<int, int>> seen_;
};

// The handler to install with XSetErrorHandler: Xlib calls it with no
// context of the program's, so its log is its own.
int HandleProtocolError(Display* display, XErrorEvent* e);

}  // namespace platform::x11
