#include "platform/foregroundwindow.h"

#include "platform/x11display_linux.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

quint64 ForegroundWindow()
{
    Display* display = OwnDisplay();
    if (!display)
        return 0;
    const Atom active = XInternAtom(display, "_NET_ACTIVE_WINDOW", True);
    if (active == None)
        return 0;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    quint64 window = 0;
    if (XGetWindowProperty(display, DefaultRootWindow(display), active, 0, 1, False, XA_WINDOW, &type, &format, &count,
                           &after, &data) == Success &&
        data && count == 1 && format == 32)
        window = *reinterpret_cast<unsigned long*>(data);
    if (data)
        XFree(data);
    return window;
}
