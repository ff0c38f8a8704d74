#include "platform/x11/X11Handles.h"

#include <X11/Xutil.h>

namespace platform::x11 {

void PutSurface(const DrawableTarget& target, const gfx::TSurface& surface, const gfx::TRect& area) {
    const gfx::TRect r = gfx::Intersect(area, surface.BoundsRect());
    if (r.IsEmpty()) return;
    XImage* image = XCreateImage(target.display, target.visual, unsigned(target.depth), ZPixmap, 0,
                                 reinterpret_cast<char*>(const_cast<gfx::TPixel*>(surface.Data())),
                                 unsigned(surface.Width()), unsigned(surface.Height()), 32,
                                 surface.Width() * 4);
    if (!image) return;
    XPutImage(target.display, target.drawable, target.gc, image, r.Left, r.Top, r.Left, r.Top,
              unsigned(r.Width()), unsigned(r.Height()));
    image->data = nullptr;  // the pixels belong to the surface
    XDestroyImage(image);
}

}  // namespace platform::x11
