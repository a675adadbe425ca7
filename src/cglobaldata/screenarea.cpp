#include "cglobaldata/screenarea.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace {

QRect& ScreenAreaSlot()
{
    static QRect area;
    return area;
}

qint64 SquaredDistance(const QRect& rect, const QPoint& point)
{
    const qint64 dx = qMax(0, qMax(rect.left() - point.x(), point.x() - rect.right()));
    const qint64 dy = qMax(0, qMax(rect.top() - point.y(), point.y() - rect.bottom()));
    return dx * dx + dy * dy;
}

} // namespace

QRect AvailableScreenArea()
{
    const QRect& area = ScreenAreaSlot();
    if (!area.isNull())
        return area;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

int ScreenIndexFor(const QVector<QRect>& screens, const QRect& window, const QPoint& pointer)
{
    const QPoint point = window.isEmpty() ? pointer : window.center();
    int nearest = -1;
    for (int i = 0; i < screens.size(); ++i)
        if (nearest < 0 || SquaredDistance(screens[i], point) < SquaredDistance(screens[nearest], point))
            nearest = i;
    return nearest;
}

QRect AvailableScreenArea(const QRect& window)
{
    if (!ScreenAreaSlot().isNull())
        return ScreenAreaSlot();
    const QList<QScreen*> screens = QGuiApplication::screens();
    QVector<QRect> geometries;
    for (const QScreen* screen : screens)
        geometries << screen->geometry();
    const int chosen = ScreenIndexFor(geometries, window, QCursor::pos());
    return chosen < 0 ? AvailableScreenArea() : screens[chosen]->availableGeometry();
}

void OverrideScreenArea(const QRect& area) { ScreenAreaSlot() = area; }

QSize MaxWndSize(const QRect& area)
{
    return QSize(static_cast<int>(area.width() * 0.9), static_cast<int>(area.height() * 0.9));
}

QSize MaxWndSize()
{
    static const QSize size = MaxWndSize(AvailableScreenArea());
    return size;
}

// The preview's frame with its shadow, and its title and control bars.
constexpr QSize kWindowChrome(60, 132);

QSize MaxContentSize(const QRect& area) { return MaxWndSize(area) - kWindowChrome; }

QSize MaxContentSize() { return MaxWndSize() - kWindowChrome; }
