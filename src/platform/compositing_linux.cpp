#include "platform/compositing.h"

#include <QByteArray>

#include "platform/x11display_linux.h" // after Qt: Xlib's macros clash with Qt's names

bool IsCompositing()
{
    Display* display = OwnDisplay();
    if (!display)
        return false;
    // A compositing manager owns this selection for the screen it manages.
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(DefaultScreen(display));
    return XGetSelectionOwner(display, XInternAtom(display, name.constData(), False)) != None;
}
