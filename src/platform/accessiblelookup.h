#pragma once

#include <QString>

// The absolute path of the focused item (else the selected one) in the file view of a file
// manager's top-level X11 window, read through the accessibility bus; empty when it cannot be
// told. Bounded in time: an application that does not answer costs one short timeout, the whole
// lookup about 50 ms.
QString FocusedItemPath(unsigned long x11Window);

// The class name of a top-level X11 window (the second part of WM_CLASS), empty when it has none.
QString WindowClass(unsigned long x11Window);
