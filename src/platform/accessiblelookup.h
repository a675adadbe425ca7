#pragma once

#include <QString>

// The absolute path of the focused item (else the selected one) in the file view of a file
// manager's top-level X11 window, read through the accessibility bus; empty when it cannot be
// told. Bounded in time: an application that does not answer costs one short timeout.
QString FocusedItemPath(unsigned long x11Window);
