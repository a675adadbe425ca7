#pragma once

#include <QRect>

// Where a top-level X11 window lies on the desktop (its own area, in root coordinates); an empty
// rect for no window, one that is gone, or one that is not mapped.
QRect WindowGeometry(quint64 x11Window);
