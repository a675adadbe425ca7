#include "platform/windowgeometry.h"

#include "platform/x11display_linux.h"

#include <X11/Xlib.h>

QRect WindowGeometry(quint64 x11Window)
{
    Display* display = OwnDisplay();
    if (!display || !x11Window)
        return {};
    // The window is a caller's word: one that is gone yields nothing rather than Xlib's fatal default handler.
    XSync(display, False);
    const auto previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    XWindowAttributes attributes{};
    const Window root = DefaultRootWindow(display);
    int x = 0, y = 0;
    Window child = 0;
    const bool known = XGetWindowAttributes(display, x11Window, &attributes) && attributes.map_state == IsViewable &&
                       XTranslateCoordinates(display, x11Window, root, 0, 0, &x, &y, &child);
    XSync(display, False);
    XSetErrorHandler(previous);
    return known ? QRect(x, y, attributes.width, attributes.height) : QRect();
}
