#include "platform/x11/X11Errors.h"

#include <X11/Xproto.h>

#include <cstdio>

namespace platform::x11 {

bool IsExpectedXError(int errorCode, int requestCode) {
    if (errorCode == BadWindow || errorCode == BadDrawable) return true;
    return errorCode == BadMatch && (requestCode == X_GetImage || requestCode == X_SetInputFocus);
}

std::string DescribeXError(const XErrorEvent& e, const std::string& name) {
    char text[160];
    std::snprintf(text, sizeof text, "X error %d (%s) in request %d.%d on resource 0x%lx",
                  int(e.error_code), name.c_str(), int(e.request_code), int(e.minor_code),
                  static_cast<unsigned long>(e.resourceid));
    return text;
}

int HandleProtocolError(Display* display, XErrorEvent* e) {
    static XErrorLog log;
    if (IsExpectedXError(e->error_code, e->request_code)) return 0;
    if (!log.FirstTime(e->error_code, e->request_code)) return 0;
    char name[80] = "";
    XGetErrorText(display, e->error_code, name, sizeof name);
    std::fprintf(stderr, "sorimo: %s\n", DescribeXError(*e, name).c_str());
    return 0;
}

}  // namespace platform::x11
