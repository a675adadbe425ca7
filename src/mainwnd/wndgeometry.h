#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// The content area for a viewer that asks for `wanted`: at least 400 × 300, at most `max`.
// The control bar's 40 pixels are counted whether or not it shows.
QSize FitContentSize(const QSize& wanted, const QSize& max);

// Where a window at `window` must go to lie inside `screen`.
QPoint KeepOnScreen(const QRect& window, const QRect& screen);

// The top-left that centres `size` in `area`.
QPoint CentredIn(const QSize& size, const QRect& area);
