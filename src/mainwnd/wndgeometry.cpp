#include "mainwnd/wndgeometry.h"

#include <algorithm>

QSize FitContentSize(const QSize& wanted, const QSize& max)
{
    const int w = wanted.width();
    const int h = wanted.height() + 40;
    return QSize(w <= 400 ? 400 : std::min(w, max.width()), h <= 300 ? 300 : std::min(h, max.height()));
}

namespace {

int KeepInside(int pos, int length, int areaStart, int areaLength)
{
    if (pos < areaStart)
        return areaStart;
    if (pos + length > areaStart + areaLength)
        return areaStart + areaLength - length;
    return pos;
}

} // namespace

QPoint KeepOnScreen(const QRect& window, const QRect& screen)
{
    return QPoint(KeepInside(window.x(), window.width(), screen.x(), screen.width()),
                  KeepInside(window.y(), window.height(), screen.y(), screen.height()));
}

QPoint CentredIn(const QSize& size, const QRect& area)
{
    return QPoint(area.x() + area.width() / 2 - size.width() / 2, area.y() + area.height() / 2 - size.height() / 2);
}
