#pragma once

#include <QRect>
#include <QSize>

// Available geometry of the default screen.
QRect AvailableScreenArea();

// For a program without a real screen (the snapshot tool): must come before the first read.
void OverrideScreenArea(const QRect& area);

// The largest preview window: 90% of the available area, truncated.
QSize MaxWndSize();

// The largest content a preview shows unscaled: the largest window less its frame and control bar.
QSize MaxContentSize();
