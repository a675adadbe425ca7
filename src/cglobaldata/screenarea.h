#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QVector>

// Available geometry of the default screen.
QRect AvailableScreenArea();

// Which of `screens` a preview belongs on: the one holding the centre of the window that asked for it,
// else (no such window: an empty rect) the one under the pointer; the nearest one to that point when it
// lies on none. -1 without screens.
int ScreenIndexFor(const QVector<QRect>& screens, const QRect& window, const QPoint& pointer);

// Available geometry of the screen chosen as above among the desktop's screens.
QRect AvailableScreenArea(const QRect& window);

// For a program without a real screen (the snapshot tool): must come before the first read.
void OverrideScreenArea(const QRect& area);

// The largest preview window: 90% of the available area, truncated.
QSize MaxWndSize(const QRect& area);
// The same for the default screen.
QSize MaxWndSize();

// The largest content a preview shows unscaled: the largest window less its frame and control bar.
QSize MaxContentSize();
// The same on the screen of `area`.
QSize MaxContentSize(const QRect& area);
