#pragma once

#include <QPoint>
#include <QRect>
#include <Qt>

// Where a frameless window with a shadow band of `shadow` pixels is resized from.
// `window` is the outer rectangle (shadow included) in the cursor's coordinates.
enum class FrameZone { None, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

FrameZone HitTestFrame(const QRect& window, const QPoint& cursor, int shadow, bool resizableWidth,
                       bool resizableHeight);

Qt::Edges EdgesOf(FrameZone zone);
Qt::CursorShape CursorOf(FrameZone zone);
