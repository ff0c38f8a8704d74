#include "platform/x11/X11Monitors.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>
#include <dlfcn.h>

namespace platform::x11 {

namespace {
// Drops empty rectangles and moves the primary one to the front, the others
// keeping the server's order.
std::vector<gfx::TRect> PrimaryFirst(std::vector<gfx::TRect> rects, std::vector<bool> primary) {
    std::vector<gfx::TRect> ordered;
    for (std::size_t i = 0; i < rects.size(); ++i)
        if (!rects[i].IsEmpty() && primary[i]) ordered.push_back(rects[i]);
    for (std::size_t i = 0; i < rects.size(); ++i)
        if (!rects[i].IsEmpty() && !primary[i]) ordered.push_back(rects[i]);
    return ordered;
}
}  // namespace

X11Monitors::X11Monitors(Display* display, Window root) : display_(display), root_(root) {
    int errorBase = 0;
    int major = 0, minor = 0;
    if (XRRQueryExtension(display_, &randrEventBase_, &errorBase) &&
        XRRQueryVersion(display_, &major, &minor)) {
        randr_ = major > 1 || (major == 1 && minor >= 2);
        randrList_ = major > 1 || (major == 1 && minor >= 5);
    }
    if (randr_)
        XRRSelectInput(display_, root_,
                       RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
    // Defining or deleting a monitor reaches clients only as the root's
    // ConfigureNotify.
    XWindowAttributes attributes{};
    XGetWindowAttributes(display_, root_, &attributes);
    XSelectInput(display_, root_, attributes.your_event_mask | StructureNotifyMask);
}

std::vector<gfx::TRect> X11Monitors::Query() const {
    std::vector<gfx::TRect> monitors = FromRandR();
    if (monitors.empty()) monitors = FromXinerama();
    if (monitors.empty()) {
        const int screen = DefaultScreen(display_);
        monitors.push_back({0, 0, DisplayWidth(display_, screen), DisplayHeight(display_, screen)});
    }
    return monitors;
}

std::vector<gfx::TRect> X11Monitors::FromRandR() const {
    if (!randrList_) return {};
    int count = 0;
    XRRMonitorInfo* list = XRRGetMonitors(display_, root_, True, &count);
    if (!list) return {};
    std::vector<gfx::TRect> rects;
    std::vector<bool> primary;
    for (int i = 0; i < count; ++i) {
        const XRRMonitorInfo& m = list[i];
        rects.push_back({m.x, m.y, m.x + m.width, m.y + m.height});
        primary.push_back(m.primary != 0);
    }
    XRRFreeMonitors(list);
    return PrimaryFirst(std::move(rects), std::move(primary));
}

void X11Monitors::LibraryCloser::operator()(void* handle) const { dlclose(handle); }

std::vector<gfx::TRect> X11Monitors::FromXinerama() const {
    if (!xinerama_) xinerama_.reset(dlopen("libXinerama.so.1", RTLD_LAZY | RTLD_LOCAL));
    if (!xinerama_) return {};
    const auto isActive = reinterpret_cast<decltype(&XineramaIsActive)>(dlsym(xinerama_.get(), "XineramaIsActive"));
    const auto queryScreens =
        reinterpret_cast<decltype(&XineramaQueryScreens)>(dlsym(xinerama_.get(), "XineramaQueryScreens"));
    if (!isActive || !queryScreens || !isActive(display_)) return {};
    int count = 0;
    XineramaScreenInfo* screens = queryScreens(display_, &count);
    if (!screens) return {};
    std::vector<gfx::TRect> rects;
    for (int i = 0; i < count; ++i) {
        const XineramaScreenInfo& s = screens[i];
        rects.push_back({s.x_org, s.y_org, s.x_org + s.width, s.y_org + s.height});
    }
    XFree(screens);
    return PrimaryFirst(rects, std::vector<bool>(rects.size(), false));
}

bool X11Monitors::IsLayoutEvent(XEvent& e) const {
    if (e.type == ConfigureNotify && e.xconfigure.window == root_) {
        XRRUpdateConfiguration(&e);
        return true;
    }
    if (!randr_) return false;
    if (e.type == randrEventBase_ + RRScreenChangeNotify) {
        XRRUpdateConfiguration(&e);
        return true;
    }
    return e.type == randrEventBase_ + RRNotify;
}

}  // namespace platform::x11
